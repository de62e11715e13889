#pragma once

namespace bp {

inline constexpr const char* kProductName = "Brightpost";
inline constexpr const char* kProductVersion = "1.3.0";
inline constexpr const char* kProductWebSite = "https://brightpost.org";
inline constexpr const char* kProductHelpPage = "https://brightpost.org/help";

}  // namespace bp
