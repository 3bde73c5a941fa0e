// The marker pairs of the online info pages (GBK byte strings, like every
// narrow literal of the program). Outer blocks are cut from the page itself;
// inner blocks from the outer block's text (deciphered first where it is
// enciphered), each search starting at the beginning of that text.
#pragma once

namespace online {

struct MarkerPair {
    const char* start;
    const char* end;
};

// The main page: an enciphered block with the two advert lines.
inline constexpr MarkerPair kMainBlockMarkers{"[联机开始]", "[联机结束]"};
inline constexpr MarkerPair kLowerAdvertTextMarkers{"[广告文本开始]", "[广告文本结束]"};
inline constexpr MarkerPair kLowerAdvertLinkMarkers{"[广告链接开始]", "[广告链接结束]"};
inline constexpr MarkerPair kUpperAdvertTextMarkers{"[上广告文本开始]", "[上广告文本结束]"};
inline constexpr MarkerPair kUpperAdvertLinkMarkers{"[上广告链接开始]", "[上广告链接结束]"};

// The search box page: an enciphered block with an extra menu item.
inline constexpr MarkerPair kSearchBoxBlockMarkers{"[联机信息开始]", "[联机信息结束]"};
inline constexpr MarkerPair kMenuCaptionMarkers{"[菜单标题开始]", "[菜单标题结束]"};
inline constexpr MarkerPair kMenuLinkMarkers{"[菜单链接开始]", "[菜单链接结束]"};

// The mini window page: a plain block (same outer markers as the search box page).
inline constexpr MarkerPair kMiniBlockMarkers{"[联机信息开始]", "[联机信息结束]"};
inline constexpr MarkerPair kStyleSheetAddressMarkers{"[css网址开始]", "[css网址结束]"};
inline constexpr MarkerPair kMiniHtmlMarkers{"[子夹1html内容开始]", "[子夹1html内容结束]"};

}  // namespace online
