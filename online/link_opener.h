// Opening links in the default web browser, found through the registry; when
// no browser starts, the link goes to the clipboard and the user is told.
#pragma once

#include <string>
#include <string_view>

namespace online {

// The bargain channel page ("淘宝淘实惠") and the publisher's home page.
std::string ChannelLink();
std::string UpdatePageLink();

// The browser's command line for a link: the registered command, a space and
// the link as one quoted argument.
std::string BrowserCommandLine(std::string_view command, std::string_view url);

// Starts the default Start-menu Internet client with the link. Links come from
// pages fetched over the network, so only http and https links are opened.
void OpenInBrowser(std::string_view url);
void OpenChannelPage();

}  // namespace online
