// Which request paths reach which files of the installed site, and which are refused.
#include <gtest/gtest.h>

#include "tools/standins/SitePaths.h"

using site::Route;
using site::RouteRequest;

namespace {

const std::wstring kRoot = L"C:\\site\\";

Route::Kind KindOf(const std::string& target) { return RouteRequest(target, kRoot).kind; }

}  // namespace

TEST(SiteRoutes, ProductsMapToTheirFolders) {
  EXPECT_EQ(KindOf("/"), Route::kIndex);
  EXPECT_EQ(KindOf("/?x=1"), Route::kIndex);
  EXPECT_EQ(RouteRequest("/forum/", kRoot).path, L"C:\\site\\eforum");
  EXPECT_EQ(RouteRequest("/cms/html/a.html?page=2", kRoot).path, L"C:\\site\\ecms\\html\\a.html");
  EXPECT_EQ(RouteRequest("/blog//./b.html", kRoot).path, L"C:\\site\\eblog\\b.html");
  // Percent-escaped UTF-8 names become the file's wide name.
  EXPECT_EQ(RouteRequest("/forum/%E8%AE%BA%E5%9D%9B%20a.html", kRoot).path, L"C:\\site\\eforum\\论坛 a.html");
  Route redirect = RouteRequest("/cms", kRoot);
  EXPECT_EQ(redirect.kind, Route::kRedirect);
  EXPECT_EQ(redirect.location, "/cms/");
}

TEST(SiteRoutes, NothingOutsideTheProductFoldersIsReached) {
  for (const char* target : {"/..", "/../outside.txt", "/forum/../../outside.txt", "/forum/%2e%2e/x",
                             "/forum/..%5c..%5coutside.txt", "/forum\\..\\x", "/forum/a.html.", "/forum/a.html%20",
                             "/forum/...", "/forum/index.html::$DATA", "/forum/C:%5cwindows", "/forum/a%00.html",
                             "/forum/%G1", "/forum/%4", "/forum/%C3", "forum/a.html", "http://127.0.0.1/forum/"})
    EXPECT_EQ(KindOf(target), Route::kBadRequest) << target;
  for (const char* target : {"/eforum/", "/Forum/", "/other/a.html", "/forum/WEB-INF/classes/a.properties",
                             "/cms/web-inf/", "/blog/META-INF/context.xml"})
    EXPECT_EQ(KindOf(target), Route::kNotFound) << target;
}
