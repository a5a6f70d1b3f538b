// Where the database stand-in keeps its data, as the real server finds it: the datadir of the
// [mysqld] section of the my.ini in its base folder (the folder above its bin folder).
#pragma once

#include <windows.h>

#include <string>

namespace standin {

// The data file the server holds while it runs.
constexpr const wchar_t* kDataFileName = L"ibdata1";
// The control code that asks the running server to write a row to its data file.
constexpr DWORD kWriteRowControl = 128;

// The datadir value of my.ini's text (GBK bytes), '/' turned into '\', without a trailing
// separator; empty when there is none.
std::wstring DataFolderSetting(const std::string& myIni);

// The data folder of the server whose program is at programPath; empty when its base folder
// holds no my.ini or it names no datadir (the server then keeps no data file).
std::wstring DataFolderOf(const std::wstring& programPath);

}  // namespace standin
