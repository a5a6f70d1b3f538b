#include "tools/standins/SitePages.h"

#include <windows.h>

#include "tools/standins/SitePaths.h"
#include "toolkit/core/CodePage.h"

namespace site {
namespace {

std::wstring Escape(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    switch (c) {
      case L'&': out += L"&amp;"; break;
      case L'<': out += L"&lt;"; break;
      case L'>': out += L"&gt;"; break;
      case L'"': out += L"&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

bool IsFolder(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring Page(const std::wstring& title, const std::wstring& body) {
  return L"<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + title + L"</title></head>\n<body>\n" +
         body + L"</body></html>\n";
}

}  // namespace

std::string IndexPage(const std::wstring& installFolder, const std::wstring& javaHome) {
  std::wstring list;
  for (const Product& product : kProducts) {
    if (!IsFolder(installFolder + product.folder)) continue;
    std::wstring prefix(product.prefix, product.prefix + strlen(product.prefix));
    list += L"<li><a href=\"/" + prefix + L"/\">" + product.title + L"</a> (" + product.folder + L")</li>\n";
  }
  std::wstring body = L"<h1>Quarn 系列软件</h1>\n";
  body += list.empty() ? L"<p>没有找到已安装的产品。</p>\n" : L"<ul>\n" + list + L"</ul>\n";
  body += L"<p>安装目录：" + Escape(installFolder) + L"</p>\n";
  body += L"<p>JAVA_HOME：" + (javaHome.empty() ? std::wstring(L"（未设置）") : Escape(javaHome)) + L"</p>\n";
  return tk::WideToUtf8(Page(L"Quarn", body));
}

std::string ErrorPage(int status, const char* reason) {
  std::wstring text = std::to_wstring(status) + L" " + std::wstring(reason, reason + strlen(reason));
  return tk::WideToUtf8(Page(text, L"<h1>" + text + L"</h1>\n"));
}

}  // namespace site
