// The pages the site makes itself, as UTF-8 HTML.
#pragma once

#include <string>

namespace site {

// Lists the products whose folders are in the install folder (ends in '\'), with links, and
// the Java runtime the service was set up with (shows that the installation set it).
std::string IndexPage(const std::wstring& installFolder, const std::wstring& javaHome);

std::string ErrorPage(int status, const char* reason);


}  // namespace site
