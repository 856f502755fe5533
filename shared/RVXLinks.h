#pragma once

// The maker's addresses, opened by the widget's About dialog and by the settings panes,
// and the one way both open them.

namespace RVXLinks {

inline constexpr const char* handle = "Vastelmark";

inline constexpr const char* website = "https://vastelmark.example/";
inline constexpr const char* moreApps = "https://vastelmark.example/apps";
inline constexpr const char* donate = "https://vastelmark.example/donate";
inline constexpr const char* videoChannel = "https://www.youtube.com/user/Vastelmark";
inline constexpr const char* backgroundHelp = "https://vastelmark.example/ruvexpro/backgrounds";

// The profile in the first client app that is installed, in this order; else the web page.
inline constexpr const char* twitterApps[] = {
    "twitter://user?screen_name=Vastelmark",
    "tweetbot://Vastelmark/timeline",
    "twitterrific:///profile?screen_name=Vastelmark",
};
inline constexpr const char* twitterWeb = "https://twitter.com/Vastelmark";

// Opens an address through the shared application. The result of openURL: is not looked
// at: an address that cannot be opened shows nothing.
void open(const char* address);
// The maker's profile in the first Twitter client the device can open, else on the web.
void openTwitterProfile();

} // namespace RVXLinks
