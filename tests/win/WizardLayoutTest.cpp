// The wizard window's layout: names, texts, pages and their order.
#include <gtest/gtest.h>

#include "common/portable/ProcessValues.h"
#include "tests/win/support/WinTestSupport.h"
#include "tests/win/support/WizardFixture.h"
#include "ui/SetupMainForm.h"

using namespace testing_support;

namespace {

// A wizard window with all seven pages: no Setup.pak beside it, so nothing is released.
class WizardLayout : public WizardFixture {
 protected:
  void SetUp() override {
    WizardFixture::SetUp();
    CreateWizard(false);
  }
};

}  // namespace

TEST_F(WizardLayout, EveryNamedControlExistsWithItsText) {
  const std::pair<const char*, const char*> texts[] = {
      {"UpBtn", "上一步"}, {"NextBtn", "下一步"}, {"CloseBtn", "退出"},
      {"Label6", "欢迎进入  Quarn系列软件  安装向导"},
      {"Label31", "您当前系统已经安装了Quarn系列软件，安装版本号为："}, {"Label32", ""},
      {"Label33", "您可以选择如下操作方式："},
      {"RadioButton3", "卸载Quarn系列软件         将现有版本完整删除"},
      {"RadioButton4", "修复安装Quarn系列软件。   在现有版本上安装原有内容，修复可能的问题"},
      {"RadioButton5", "全新安装Quarn系列软件。   删除现有版本，从新安装"},
      {"Label3", "您可通过翻页来仔细阅读本协议书。"},
      {"Label4", "如您接受本条款，请选择下方第一个选项。您必须接受本协议才能安装Quarn系列软件"},
      {"Label5", "点击 下一步 继续"}, {"RadioButton2", "&A 我接受本协议条款"}, {"RadioButton1", "&D 我不接受本协议条款"},
      {"Label40", "本安装程序为全自动安装系统，您仅需选择安装路径即可。"}, {"Label18", "Quarn软件安装目录选择："},
      {"Edit1", "c:\\quarn"}, {"SpeedButton1", "..."},
      {"Label23", "安装"}, {"Label16", "正在拷贝文件："}, {"Label17", ""},
      {"Label19", "正在拷贝文件："}, {"Label22", "进行如下操作,可进入Quarn,试用......"},
      {"Label27", "相关基础应用Mysql,Tomcat 已经注册到服务中，会自动运行"},
      {"Label28", "以后每次想进入网站，直接输入输入如下地址:"}, {"Label29", "http://localhost:8080"},
      {"Label30", "即可进入Quarn软件系统!"},
      {"Label41", "退出时，系统将删除临时文件，可能需要1分钟时间本软件才能关闭，请等待..."},
      {"Label36", "正在删除文件："}, {"Label37", ""},
      {"AllRadioButton", "全部安装"}, {"CustomRadioButton", "自定义安装"}, {"StandRadioButton", "Quarn产品包安装"},
  };
  for (const auto& [name, text] : texts) {
    tk::Control* control = form->FindControl(name);
    ASSERT_NE(control, nullptr) << name;
    EXPECT_EQ(control->Caption(), text) << name;
  }
  for (const char* name : {"Panel1", "Bevel2", "BasePanel", "ChoosestylePage", "ProductList", "Memo1", "Memo2",
                           "Memo3", "Gauge1", "Gauge2", "Panel3"})
    EXPECT_NE(form->FindControl(name), nullptr) << name;
  EXPECT_EQ(form->Caption(), "Quarn软件安装系统(V2.0) ");
  // Page titles, each in its page's header.
  EXPECT_EQ(form->FindControl("LicensePageTitle")->Caption(), "Quarn软件许可协议");
  EXPECT_EQ(form->FindControl("FullInstallPage_3Subtitle")->Caption(), "所有文件和相关配置信息已经设置完成,请尽情使用.");
  EXPECT_GT(form->Memo1->LineCount(), 3);
  EXPECT_NE(form->Memo1->Text().find("论坛"), std::string::npos);
  EXPECT_GT(form->Memo2->LineCount(), 10);
}

TEST_F(WizardLayout, InitialStatesAndGeometry) {
  EXPECT_FALSE(form->UpBtn->Enabled());
  EXPECT_TRUE(form->NextBtn->Enabled());
  EXPECT_EQ(form->DefaultButton(), form->NextBtn);
  EXPECT_EQ(form->CancelButton(), form->CloseBtn);
  EXPECT_TRUE(form->RadioButton1->Checked());
  EXPECT_FALSE(form->RadioButton2->Checked());
  EXPECT_TRUE(form->RadioButton3->Checked());
  EXPECT_FALSE(form->ChoosestylePage->Visible());
  EXPECT_EQ(form->ChoosestylePage->Parent(), form);
  EXPECT_EQ(form->ProductList->Count(), 0);
  for (tk::Button* button : {form->UpBtn, form->NextBtn, form->CloseBtn}) {
    EXPECT_EQ(button->Width(), 75);
    EXPECT_EQ(button->Height(), 25);
    EXPECT_EQ(button->Top(), 8);
  }
  EXPECT_EQ(form->UpBtn->Left(), 246);
  EXPECT_EQ(form->NextBtn->Left(), 320);
  EXPECT_EQ(form->CloseBtn->Left(), 412);
  EXPECT_EQ(form->Panel1->Height(), 41);
  RECT client;
  GetClientRect(form->Handle(), &client);
  EXPECT_EQ(form->Panel1->Top() + 41, client.bottom);
  EXPECT_EQ(form->BasePanel->Height(), client.bottom - 41);
  for (tk::Control* page : form->BasePanel->Controls()) {
    EXPECT_EQ(page->Width(), form->BasePanel->Width());
    EXPECT_EQ(page->Height(), form->BasePanel->Height());
  }
}

TEST_F(WizardLayout, PagesKeepTheirCreationOrderAndTabOrders) {
  const std::pair<const char*, int> pages[] = {
      {"FullInstallPage_2", 4}, {"LicensePage", 2}, {"WelcomePage", 0}, {"UninstallPage", 6},
      {"FullInstallPage_1", 3}, {"HadInstallPage", 1}, {"FullInstallPage_3", 5}};
  const auto& children = form->BasePanel->Controls();
  ASSERT_EQ(children.size(), 7u);
  for (size_t i = 0; i < 7; ++i) {
    EXPECT_EQ(children[i]->Name(), pages[i].first);
    EXPECT_EQ(children[i]->TabOrder(), pages[i].second) << pages[i].first;
  }
  EXPECT_EQ(form->PageCount(), 7);
  // After creation only the welcome page shows.
  EXPECT_TRUE(form->WelcomePage->Visible());
  EXPECT_EQ(form->CurrentPageIndex(), 0);
  // Panel1's buttons in Back, Next, Exit order; the agreement page's choice after its text.
  EXPECT_EQ(form->NextBtn->TabOrder(), 1);
  EXPECT_LT(form->Memo2->TabOrder(), form->RadioButton2->TabOrder());
  EXPECT_LT(form->RadioButton2->TabOrder(), form->RadioButton1->TabOrder());
}

TEST_F(WizardLayout, ScreenshotsOfEveryPage) {
  std::string folderForShots = ShotFolder();
  form->OnShow = [] {};  // without a package the window would close when shown; all seven pages stay
  form->Show();
  const char* names[] = {"WelcomePage", "HadInstallPage", "LicensePage", "FullInstallPage_1",
                         "FullInstallPage_2", "FullInstallPage_3", "UninstallPage"};
  form->Label32->SetCaption("2.0.0");
  form->Label17->SetCaption("c:\\quarn\\eforum\\index.html");
  for (int i = 0; i < 12; ++i) form->Memo3->AddLine("c:\\quarn\\eforum\\WEB-INF\\classes\\file" + std::to_string(i) + ".class");
  form->Gauge1->SetMaxValue(40);
  form->Gauge1->SetProgress(17);
  form->Label37->SetCaption("c:\\quarn\\MySQL5\\data\\ibdata1");
  form->Gauge2->SetMaxValue(3);
  form->Gauge2->SetProgress(2);
  for (int index = 0; index < 7; ++index) {
    form->ShowPage(index, true);
    PumpMessages(150);
    Capture shot = CaptureWindow(form->Handle());
    ASSERT_GT(shot.width, 20) << "nothing captured";
    // Something is drawn: the page is not one flat colour.
    unsigned first = shot.At(shot.width / 2, shot.height / 3);
    bool varied = false;
    for (int y = 40; y < shot.height - 60 && !varied; y += 3)
      for (int x = 10; x < shot.width - 10 && !varied; x += 3) varied = shot.At(x, y) != first;
    EXPECT_TRUE(varied) << names[index];
    if (!folderForShots.empty())
      shot.SaveBmp(folderForShots + "/page-" + std::to_string(index) + "-" + names[index] + ".bmp");
  }
}
