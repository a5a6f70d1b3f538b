// The "..." folder picker worked from outside: a folder named in its path box is found in the
// shell tree, a move in the tree shows in the path box, OK hands the folder to the wizard and
// Cancel leaves the wizard's folder box as it was.
#include "tests/e2e/EndToEnd.h"
#include "tests/e2e/driver/Input.h"
#include "tests/e2e/driver/WindowQuery.h"
#include "toolkit/core/CodePage.h"

namespace e2e {
namespace {

const char* const kPickerCaption = "选择目录......";

class FolderPicker : public EndToEnd {
 protected:
  // Opens the picker from the folder page and waits for it.
  HWND OpenPicker(const SetupProcess& setup, const Wizard& wizard) {
    Click(wizard.FolderPickerButton());
    HWND picker = nullptr;
    WaitUntil([&] {
      for (HWND window : TopLevelWindows(setup.Id(), kWizardClass))
        if (TextOf(window) == kPickerCaption) picker = window;
      return picker != nullptr;
    });
    return picker;
  }

  // The path box: the picker's edit box that is not part of the description combo box.
  static HWND PathBox(HWND picker) {
    for (HWND edit : Descendants(picker, L"Edit"))
      if (ClassOf(GetParent(edit)) != L"ComboBox") return edit;
    return nullptr;
  }

  static HWND First(HWND picker, const wchar_t* className) {
    std::vector<HWND> found = Descendants(picker, className);
    return found.empty() ? nullptr : found.front();
  }
  static HWND Description(HWND picker) { return First(picker, L"ComboBox"); }
  static HWND FolderTree(HWND picker) { return First(picker, L"SysTreeView32"); }
};

}  // namespace

TEST_F(FolderPicker, ThePathBoxAndTheTreeFollowEachOtherAndOkFillsTheFolderBox) {
  WorkFolder pick(L"quarn-e2e-pick");
  std::wstring child = pick.Path() + L"产品目录";
  ASSERT_TRUE(CreateDirectoryW(child.c_str(), nullptr));
  std::string parentText = tk::FromWide(pick.Path().substr(0, pick.Path().size() - 1));
  std::string childText = tk::FromWide(child);

  SetupProcess& setup = Start();
  Wizard wizard(setup.Id());
  ASSERT_NO_FATAL_FAILURE(WalkToFolderPage(wizard));
  ASSERT_EQ(wizard.Folder(), kDefaultFolder);

  // Opened at the setup folder.
  HWND picker = OpenPicker(setup, wizard);
  ASSERT_NE(picker, nullptr) << "no folder picker";
  HWND pathBox = PathBox(picker), tree = FolderTree(picker);
  ASSERT_NE(pathBox, nullptr);
  ASSERT_NE(tree, nullptr) << "no shell folder tree";
  std::string setupText = tk::FromWide(setupFolder->Path());
  EXPECT_TRUE(WaitUntil([&] { return TextOf(pathBox) + "\\" == setupText || TextOf(pathBox) == setupText; }))
      << Readable(TextOf(pathBox));
  EXPECT_EQ(FocusedControl(picker), pathBox);

  // A folder typed into the path box is looked up in the tree when the focus moves on; the
  // description names its last component.
  TypeOver(pathBox, childText);
  ASSERT_TRUE(WaitUntil([&] { return TextOf(pathBox) == childText; })) << Readable(TextOf(pathBox));
  PressKey(pathBox, VK_TAB);
  EXPECT_TRUE(WaitUntil([&] { return TextOf(Description(picker)) == "产品目录"; }))
      << "the tree did not select the typed folder; description " << Readable(TextOf(Description(picker)));
  EXPECT_EQ(TextOf(pathBox), childText);

  // Left in the tree moves up to the parent folder, and the path box follows.
  PressKey(tree, VK_LEFT);
  EXPECT_TRUE(WaitUntil([&] { return TextOf(pathBox) == parentText; })) << Readable(TextOf(pathBox));

  // OK: the wizard's folder box takes the chosen folder.
  Click(FindShown(picker, L"Button", "确认"));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(picker); })) << "OK did not close the picker";
  EXPECT_TRUE(WaitUntil([&] { return wizard.Folder() == parentText; })) << Readable(wizard.Folder());

  // Cancel: whatever was picked, the folder box keeps what it holds.
  picker = OpenPicker(setup, wizard);
  ASSERT_NE(picker, nullptr) << "the picker did not open a second time";
  pathBox = PathBox(picker);
  TypeOver(pathBox, childText);
  ASSERT_TRUE(WaitUntil([&] { return TextOf(pathBox) == childText; }));
  Click(FindShown(picker, L"Button", "取消"));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(picker); })) << "Cancel did not close the picker";
  ASSERT_NO_FATAL_FAILURE(ExpectPage(wizard, kFolderTitle));
  EXPECT_EQ(wizard.Folder(), parentText);

  wizard.Exit();
  ASSERT_TRUE(Answer(ExpectBox(setup, "安装程序未完成,您确认要退出?", {"是", "否"}), "是"));
  EXPECT_TRUE(setup.WaitForExit());
  EXPECT_FALSE(InstallRecordExists());
}

}  // namespace e2e
