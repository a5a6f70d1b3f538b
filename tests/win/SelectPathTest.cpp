// The folder picker: the path box, the description box and the shell folder tree.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "common/portable/InstallFolderRule.h"
#include "tests/win/support/WinTestSupport.h"
#include "toolkit/core/CodePage.h"
#include "ui/SelectPathForm.h"

using namespace testing_support;

namespace {

class SelectPath : public ::testing::Test {
 protected:
  void SetUp() override {
    application.Initialize();
    picker = new ui::TFSelectPath(&application);
  }
  tk::Application application;
  BoxRecorder boxes;
  TempFolder folder;
  ui::TFSelectPath* picker = nullptr;
};

}  // namespace

TEST_F(SelectPath, LayoutAndTheDescriptionChoices) {
  RECT outer;
  GetWindowRect(picker->Handle(), &outer);
  EXPECT_EQ(outer.left, 339);
  EXPECT_EQ(outer.top, 205);
  EXPECT_EQ(outer.right - outer.left, 486);
  EXPECT_EQ(outer.bottom - outer.top, 467);
  EXPECT_EQ(picker->Caption(), "选择目录......");
  EXPECT_EQ(picker->BitBtn2->Caption(), "确认");
  EXPECT_EQ(picker->BitBtn1->Caption(), "取消");
  EXPECT_EQ(picker->DefaultButton(), picker->BitBtn2);
  EXPECT_EQ(picker->CancelButton(), picker->BitBtn1);
  ASSERT_EQ(picker->ComboBox1->ItemCount(), 6);
  EXPECT_EQ(picker->ComboBox1->Item(3), "Java环境-JDK2");
  EXPECT_EQ(picker->ComboBox1->ItemIndex(), 0);
  EXPECT_EQ(picker->Edit1->TabOrder(), 0);
  EXPECT_EQ(picker->FindControl("Panel1")->TabOrder(), 0) << "the bottom panel comes first";
}

TEST_F(SelectPath, ShownItSeedsThePathBoxWhileTheTreeStaysAtItsRoot) {
  picker->SeedPath = folder.Path();
  picker->FormShow();
  EXPECT_EQ(picker->Edit1->Text(), folder.Path());
  EXPECT_EQ(picker->ShellTreeView1->SelectedItem(), picker->ShellTreeView1->RootItem());
  EXPECT_EQ(picker->ShellTreeView1->Path(), "") << "My Computer has no file-system path";
}

TEST_F(SelectPath, LeavingThePathBoxMovesTheTreeAndTheBoxTakesTheTreesForm) {
  std::string target = folder.Path() + "apps";
  CreateDirectoryW(tk::ToWide(target).c_str(), nullptr);
  CreateDirectoryW(tk::ToWide(target + "\\web").c_str(), nullptr);
  picker->Edit1->SetText(target + "\\web");
  picker->Edit1Exit();
  EXPECT_NE(picker->ShellTreeView1->SelectedItem(), picker->ShellTreeView1->RootItem());
  EXPECT_EQ(tk::FromWide(tk::ToWide(picker->Edit1->Text())), target + "\\web");
  EXPECT_EQ(picker->ComboBox1->Text(), "web");
  EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(SelectPath, AnEmptyPathBoxIsLeftAlone) {
  picker->Edit1->SetText("");
  picker->Edit1Exit();
  EXPECT_TRUE(boxes.Boxes().empty());
  EXPECT_EQ(picker->ShellTreeView1->SelectedItem(), picker->ShellTreeView1->RootItem());
}

TEST_F(SelectPath, ADriveLeavesTheDescriptionEmpty) {
  picker->Edit1->SetText("C:\\");
  picker->Edit1Exit();
  EXPECT_EQ(picker->Edit1->Text(), "C:\\");
  EXPECT_EQ(picker->ComboBox1->Text(), "");
}

TEST_F(SelectPath, AnUnknownFolderIsReportedAndTheTreeKeepsItsSelection) {
  HTREEITEM before = picker->ShellTreeView1->SelectedItem();
  picker->SeedPath = folder.Path() + "no-such-folder";
  // Through the window procedure, as the focus change runs it, so the error reaches the
  // default handler.
  picker->Show();
  picker->Edit1->SetFocus();
  picker->BitBtn1->SetFocus();
  PumpMessages();
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].kind, tk::MessageKind::Error);
  EXPECT_NE(boxes.Boxes()[0].text.find("no-such-folder"), std::string::npos);
  EXPECT_EQ(picker->ShellTreeView1->SelectedItem(), before);
  EXPECT_EQ(picker->Edit1->Text(), folder.Path() + "no-such-folder") << "the typed text stays";
}

TEST_F(SelectPath, TheTreeReadsAFolderAgainWhenTheShellReportsANewSubFolder) {
  tk::ShellTreeView* tree = picker->ShellTreeView1;
  CreateDirectoryW(tk::ToWide(folder.Path() + "apps").c_str(), nullptr);
  tree->SetPath(folder.Path());
  HTREEITEM shown = tree->SelectedItem();
  TreeView_Expand(tree->Handle(), shown, TVE_EXPAND);
  auto children = [&] {
    int count = 0;
    for (HTREEITEM child = TreeView_GetChild(tree->Handle(), shown); child;
         child = TreeView_GetNextSibling(tree->Handle(), child))
      ++count;
    return count;
  };
  PumpMessages();
  int before = children();
  std::wstring made = tk::ToWide(folder.Path() + "web");
  ASSERT_TRUE(CreateDirectoryW(made.c_str(), nullptr));
  SHChangeNotify(SHCNE_MKDIR, SHCNF_PATHW | SHCNF_FLUSH, made.c_str(), nullptr);
  for (int i = 0; i < 40 && children() == before; ++i) PumpMessages();
  EXPECT_EQ(children(), before + 1) << "the new folder did not appear";
}

TEST_F(SelectPath, AFolderGbkCannotNameShowsAsItIsAndOkRefusesIt) {
  tk::ShellTreeView* tree = picker->ShellTreeView1;
  const std::wstring hangul = tk::ToWide(folder.Path()) + L"한글 폴더";
  ASSERT_TRUE(CreateDirectoryW(hangul.c_str(), nullptr));
  tree->SetPath(folder.Path());
  HTREEITEM parent = tree->SelectedItem();
  TreeView_Expand(tree->Handle(), parent, TVE_EXPAND);
  HTREEITEM child = TreeView_GetChild(tree->Handle(), parent);
  ASSERT_NE(child, nullptr);
  TreeView_SelectItem(tree->Handle(), child);
  ASSERT_TRUE(tree->WidePath() == hangul);

  // The path box shows the name itself, not '?' characters.
  wchar_t shown[MAX_PATH] = {};
  GetWindowTextW(picker->Edit1->Handle(), shown, MAX_PATH);
  EXPECT_TRUE(shown == hangul);
  EXPECT_FALSE(picker->Edit1->TextIsGbk());

  // Leaving the box does not look the lossy text up in the tree; OK refuses and stays open.
  picker->Edit1Exit();
  EXPECT_TRUE(boxes.Boxes().empty());
  EXPECT_EQ(tree->SelectedItem(), child);
  picker->BitBtn2Click();
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].kind, tk::MessageKind::Error);
  EXPECT_EQ(boxes.Boxes()[0].text, pub::kInstallFolderNotGbk);
  EXPECT_EQ(picker->GetModalResult(), tk::ModalResult::None);

  // The user picks another folder, and OK takes it.
  TreeView_SelectItem(tree->Handle(), parent);
  EXPECT_TRUE(picker->Edit1->TextIsGbk());
  picker->BitBtn2Click();
  EXPECT_EQ(picker->GetModalResult(), tk::ModalResult::Ok);
  EXPECT_EQ(boxes.Boxes().size(), 1u);
}

// OK goes through the folder page's own rule: a folder the bundle's batch files cannot carry is
// refused where another can still be picked, and the message names the character.
TEST_F(SelectPath, OkRefusesAFolderTheFolderPageWouldRefuseAndNamesTheCharacter) {
  const std::string ampersand = folder.Path() + "q&t";
  ASSERT_TRUE(CreateDirectoryW(tk::ToWide(ampersand).c_str(), nullptr));
  picker->ShellTreeView1->SetPath(ampersand);
  ASSERT_EQ(picker->Edit1->Text(), ampersand);
  picker->BitBtn2Click();
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].kind, tk::MessageKind::Error);
  EXPECT_EQ(boxes.Boxes()[0].text, pub::InstallFolderProblem(ampersand));
  EXPECT_NE(boxes.Boxes()[0].text.find("“&”"), std::string::npos) << boxes.Boxes()[0].text;
  EXPECT_EQ(picker->GetModalResult(), tk::ModalResult::None);

  picker->ShellTreeView1->SetPath(folder.Path());
  picker->BitBtn2Click();
  EXPECT_EQ(picker->GetModalResult(), tk::ModalResult::Ok);
  EXPECT_EQ(boxes.Boxes().size(), 1u);
}
