// Which answer a request path gets: the index, a file of an installed product, a redirect,
// or a refusal. Only names below a product's folder are ever reached.
#pragma once

#include <string>

namespace site {

// A product of the bundle: its folder in the install folder and where the site shows it.
struct Product {
  const wchar_t* folder;  // L"eforum"
  const char* prefix;     // "forum": served at /forum/
  const wchar_t* title;
};
extern const Product kProducts[3];

struct Route {
  enum Kind { kIndex, kFile, kRedirect, kBadRequest, kNotFound };
  Kind kind = kNotFound;
  std::wstring path;     // kFile: the file or folder asked for, inside the install folder
  std::string location;  // kRedirect: where to
};

// target: the request target as it came ("/forum/a%20b.html?x=1"); installFolder ends in '\'.
// A ".." component, a name Windows would alter (trailing dot or blank) or a character that
// cannot stand in a file name is a bad request; WEB-INF and META-INF stay hidden (not found).
Route RouteRequest(const std::string& target, const std::wstring& installFolder);

// The Content-Type for a file, by its extension.
const char* ContentType(const std::wstring& path);

}  // namespace site
