// The page author's tool: makes the enciphered block of an online info page
// from a plain text, and reads a block (or a saved page) back.
//
//   quillo_blocktool encode <plain-file> [--main | --searchbox | --markers START END]
//   quillo_blocktool decode <file>       [--main | --searchbox | --markers START END]
//
// Plain texts are GBK bytes and are taken as they are. encode writes the block
// to standard output, exactly, with no line break; with a marker option the
// block stands between the markers, ready to be put into the page. decode
// prints the plain bytes: of the whole file (blanks around it ignored), or,
// with a marker option, of the block cut from the file as the program cuts it
// from a downloaded page (first start marker, first end marker after it, every
// "amp;" removed).
//
// --main and --searchbox use the outer markers of the main page and of the
// search box page. --markers takes the two markers as the bytes given on the
// command line: pages are GBK, so pass them in GBK, for instance
//   --markers "$(printf '[联机开始]' | iconv -t GBK)" "$(printf '[联机结束]' | iconv -t GBK)"
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "online/decipher.h"
#include "online/marked_text.h"
#include "online/online_markers.h"

namespace {

constexpr const char* kUsage =
    "usage: quillo_blocktool encode <plain-file> [--main | --searchbox | --markers START END]\n"
    "       quillo_blocktool decode <file>       [--main | --searchbox | --markers START END]\n";

struct Markers {
    std::string start;
    std::string end;
};

std::optional<std::string> ReadWholeFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteOut(std::string_view bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() && std::fflush(stdout) == 0;
}

std::string_view TrimBlanks(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

int Fail(const std::string& message) {
    std::cerr << "quillo_blocktool: " << message << "\n";
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << kUsage;
        return 2;
    }
    const std::string_view command = argv[1];
    const char* path = argv[2];
    std::optional<Markers> markers;
    if (argc == 4 && std::string_view(argv[3]) == "--main") {
        markers = Markers{online::kMainBlockMarkers.start, online::kMainBlockMarkers.end};
    } else if (argc == 4 && std::string_view(argv[3]) == "--searchbox") {
        markers = Markers{online::kSearchBoxBlockMarkers.start, online::kSearchBoxBlockMarkers.end};
    } else if (argc == 6 && std::string_view(argv[3]) == "--markers") {
        markers = Markers{argv[4], argv[5]};
        if (markers->start.empty() || markers->end.empty()) {
            return Fail("markers must not be empty");
        }
    } else if (argc != 3) {
        std::cerr << kUsage;
        return 2;
    }
    if (command != "encode" && command != "decode") {
        std::cerr << kUsage;
        return 2;
    }

    const std::optional<std::string> input = ReadWholeFile(path);
    if (!input) {
        return Fail(std::string("cannot read ") + path);
    }

    if (command == "encode") {
        if (input->empty()) {
            return Fail("the plain text is empty; the program would read its block as no information");
        }
        const std::string block = online::EncipherOnlineText(*input);
        const std::string out = markers ? markers->start + block + markers->end : block;
        return WriteOut(out) ? 0 : Fail("cannot write the block");
    }

    std::string block;
    if (markers) {
        block = online::RemoveAmpSequences(online::ExtractMarkedText(*input, markers->start, markers->end));
        if (block.empty()) {
            return Fail("no block between the markers");
        }
    } else {
        block = std::string(TrimBlanks(*input));
    }
    const std::string plain = online::DecipherOnlineText(block);
    if (plain.empty()) {
        return Fail("not a well-formed block (hexadecimal digits only, an 8-byte length, whole 16-byte "
                    "blocks), or its plain text is empty");
    }
    return WriteOut(plain) ? 0 : Fail("cannot write the plain text");
}
