#pragma once

// Opening the maker's addresses through the shared application.

namespace RVXOpenLinks {

// The result of openURL: is not looked at: an address that cannot be opened shows nothing.
void open(const char* address);
// The maker's profile in the first Twitter client the device can open, else on the web.
void openTwitterProfile();

} // namespace RVXOpenLinks
