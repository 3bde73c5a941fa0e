// Online info pages of 1 MiB: cutting the block and removing "amp;" from a
// hostile page of nested "a...amp;mp;...", and deciphering a 1 MiB block.
// Each must stay far below what would freeze the window noticeably.
#include <benchmark/benchmark.h>

#include <string>

#include "online/decipher.h"
#include "online/marked_text.h"
#include "online/online_markers.h"

namespace {

constexpr std::size_t kMiB = 1 << 20;

// "a" d times, "amp;", "mp;" d times: the passes of the plain method would
// need d + 1 rounds over the whole block, removing four bytes each.
std::string NestedAmpPage(std::size_t blockSize) {
    const std::size_t depth = (blockSize - 4) / 4;
    std::string block(depth, 'a');
    block += "amp;";
    for (std::size_t i = 0; i < depth; ++i) {
        block += "mp;";
    }
    return std::string("<html><body>") + online::kMainBlockMarkers.start + block + online::kMainBlockMarkers.end +
           "</body></html>";
}

void BM_CutAndRemoveNestedAmp(benchmark::State& state) {
    const std::string page = NestedAmpPage(kMiB);
    for (auto _ : state) {
        const std::string block =
            online::ExtractMarkedText(page, online::kMainBlockMarkers.start, online::kMainBlockMarkers.end);
        std::string cleaned = online::RemoveAmpSequences(block);
        if (!cleaned.empty() || block.size() < kMiB - 8) {
            state.SkipWithError("the nested block did not reduce to nothing");
            break;
        }
        benchmark::DoNotOptimize(cleaned);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_CutAndRemoveNestedAmp)->Unit(benchmark::kMillisecond);

void BM_DecipherOneMiBBlock(benchmark::State& state) {
    // 16 hex digits of length, then the cipher blocks: 1 MiB of block text.
    std::string plain((kMiB - 16) / 2, 'x');
    for (std::size_t i = 0; i < plain.size(); ++i) {
        plain[i] = static_cast<char>('A' + i % 26);
    }
    const std::string block = online::EncipherOnlineText(plain);
    for (auto _ : state) {
        std::string text = online::DecipherOnlineText(block);
        if (text.size() != plain.size()) {
            state.SkipWithError("the block did not read back");
            break;
        }
        benchmark::DoNotOptimize(text);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * block.size()));
    state.counters["block_bytes"] = static_cast<double>(block.size());
}
BENCHMARK(BM_DecipherOneMiBBlock)->Unit(benchmark::kMillisecond);

}  // namespace
