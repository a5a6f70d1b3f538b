// The wizard window's layout, as a designer would list it: every control with its parent,
// position, size, caption and options, in creation order. Pixels are at 96 DPI; a line of the
// 12-pixel text takes 15, so that no text is cut off where the scale rounds its font up.
#include <windows.h>

#include "toolkit/win/Layout.h"
#include "ui/SetupMainForm.h"
#include "ui/WizardAccessibleNames.h"

namespace ui {
namespace {

using tk::Kind;
using namespace tk;  // row options

// The header every page but the welcome page starts with: a white strip with a bold title, a
// subtitle and the header picture, then a line.
#define PAGE_HEADER(page, titleName, title, subtitle)                                              \
  {page "Header", Kind::Panel, page, 0, 0, 496, 53, "", kWhiteBack, -1},                            \
  {titleName, Kind::Label, page "Header", 24, 8, 380, 18, title, kTitle, -1},                       \
  {page "Subtitle", Kind::Label, page "Header", 40, 30, 380, 15, subtitle, kNone, -1},              \
  {page "Picture", Kind::Image, page "Header", 436, 3, 48, 48, "HEADER", kPictureResource, -1},     \
  {page "Line", Kind::Bevel, page, 0, 53, 496, 2, "", kNone, -1}

const ControlRow kWizardLayout[] = {
    // name, kind, parent, x, y, width, height, caption, options, tab order
    {"Panel1", Kind::Panel, "", 0, 290, 496, 41, "", kAlignBottom, -1},
    {"Bevel2", Kind::Bevel, "Panel1", 0, 0, 496, 2, "", kNone, -1},
    {"UpBtn", Kind::Button, "Panel1", 245, 8, 75, 25, "上一步", kDisabled, 0},
    {"NextBtn", Kind::Button, "Panel1", 320, 8, 75, 25, "下一步", kNone, 1},
    {"CloseBtn", Kind::Button, "Panel1", 412, 8, 75, 25, "退出", kNone, 2},
    {"BasePanel", Kind::Panel, "", 0, 0, 496, 290, "", kAlignClient, -1},

    // Pages, in creation order; the last column is each page's index.
    {"FullInstallPage_2", Kind::Panel, "BasePanel", 0, 0, 496, 290, "", kAlignClient, 4},
    PAGE_HEADER("FullInstallPage_2", "Label23", "安装", "复制所有文件到指定目录下......"),
    {"Label16", Kind::Label, "FullInstallPage_2", 24, 64, 86, 15, "正在拷贝文件：", kNone, -1},
    {"Label17", Kind::Label, "FullInstallPage_2", 110, 64, 370, 15, "", kNone, -1},
    {"Memo3", Kind::Memo, "FullInstallPage_2", 24, 84, 448, 166, "", kScrollBar, -1},
    {"Gauge1", Kind::Gauge, "FullInstallPage_2", 24, 258, 448, 20, "", kNone, -1},

    {"LicensePage", Kind::Panel, "BasePanel", 0, 0, 496, 290, "", kAlignClient, 2},
    PAGE_HEADER("LicensePage", "LicensePageTitle", "Quarn软件许可协议", "请您务必仔细阅读本软件许可协议......"),
    {"Label3", Kind::Label, "LicensePage", 24, 61, 440, 15, "您可通过翻页来仔细阅读本协议书。", kNone, -1},
    {"Memo2", Kind::Memo, "LicensePage", 24, 78, 448, 124, "LICENSE_TEXT", kScrollBar | kTextResource, 0},
    {"Label4", Kind::Label, "LicensePage", 24, 206, 448, 30,
     "如您接受本条款，请选择下方第一个选项。您必须接受本协议才能安装Quarn系列软件", kNone, -1},
    {"Label5", Kind::Label, "LicensePage", 24, 236, 200, 15, "点击 下一步 继续", kNone, -1},
    {"RadioButton2", Kind::RadioButton, "LicensePage", 24, 252, 200, 18, "&A 我接受本协议条款", kNone, 1},
    {"RadioButton1", Kind::RadioButton, "LicensePage", 260, 252, 200, 18, "&D 我不接受本协议条款", kChecked, 2},

    {"WelcomePage", Kind::Panel, "BasePanel", 0, 0, 496, 290, "", kWhiteBack | kAlignClient, 0},
    {"WelcomeImage", Kind::Image, "WelcomePage", 0, 0, 185, 290, "WELCOME", kPictureResource, -1},
    {"Label6", Kind::Label, "WelcomePage", 200, 20, 290, 16, "欢迎进入  Quarn系列软件  安装向导", kBold, -1},
    {"Memo1", Kind::Memo, "WelcomePage", 200, 50, 286, 230, "WELCOME_TEXT", kNoBorder | kTextResource | kWhiteBack, -1},

    {"UninstallPage", Kind::Panel, "BasePanel", 0, 0, 496, 290, "", kAlignClient, 6},
    PAGE_HEADER("UninstallPage", "UninstallPageTitle", "卸载", "将当前安装的Quarn从您的机器中卸载掉......"),
    {"Label36", Kind::Label, "UninstallPage", 24, 80, 86, 15, "正在删除文件：", kNone, -1},
    {"Label37", Kind::Label, "UninstallPage", 110, 80, 370, 45, "", kNone, -1},
    {"Gauge2", Kind::Gauge, "UninstallPage", 24, 140, 448, 20, "", kNone, -1},

    {"FullInstallPage_1", Kind::Panel, "BasePanel", 0, 0, 496, 290, "", kAlignClient, 3},
    PAGE_HEADER("FullInstallPage_1", "FullInstallPage_1Title", "选择安装路径", "安装系统将把内容安装到您指定的目录下......"),
    {"Label40", Kind::Label, "FullInstallPage_1", 40, 80, 430, 15, "本安装程序为全自动安装系统，您仅需选择安装路径即可。", kMaroonText, -1},
    {"Label18", Kind::Label, "FullInstallPage_1", 40, 130, 200, 15, "Quarn软件安装目录选择：", kNone, -1},
    {"Edit1", Kind::Edit, "FullInstallPage_1", 40, 150, 330, 21, "c:\\quarn", kNone, 0},
    {"SpeedButton1", Kind::Button, "FullInstallPage_1", 376, 149, 25, 23, "...", kNone, 1},

    {"HadInstallPage", Kind::Panel, "BasePanel", 0, 0, 496, 290, "", kAlignClient, 1},
    PAGE_HEADER("HadInstallPage", "HadInstallPageTitle", "安装测试", "检测当前系统是否已经安装了Quarn系列软件......"),
    {"Label31", Kind::Label, "HadInstallPage", 40, 75, 300, 15, "您当前系统已经安装了Quarn系列软件，安装版本号为：", kNone, -1},
    {"Label32", Kind::Label, "HadInstallPage", 340, 75, 140, 15, "", kNone, -1},
    {"Label38", Kind::Label, "HadInstallPage", 40, 90, 440, 15, "", kNone, -1},
    {"Label33", Kind::Label, "HadInstallPage", 40, 105, 440, 15, "您可以选择如下操作方式：", kNone, -1},
    {"RadioButton3", Kind::RadioButton, "HadInstallPage", 60, 135, 420, 20, "卸载Quarn系列软件         将现有版本完整删除", kChecked, 0},
    {"RadioButton4", Kind::RadioButton, "HadInstallPage", 60, 165, 420, 20, "修复安装Quarn系列软件。   在现有版本上安装原有内容，修复可能的问题", kNone, 1},
    {"RadioButton5", Kind::RadioButton, "HadInstallPage", 60, 195, 420, 20, "全新安装Quarn系列软件。   删除现有版本，从新安装", kNone, 2},
    // What is wrong with the record, when something is: below the options, in up to three lines.
    {"Label39", Kind::Label, "HadInstallPage", 40, 228, 440, 45, "", kMaroonText, -1},

    {"FullInstallPage_3", Kind::Panel, "BasePanel", 0, 0, 496, 290, "", kAlignClient, 5},
    PAGE_HEADER("FullInstallPage_3", "FullInstallPage_3Title", "安装成功!!!", "所有文件和相关配置信息已经设置完成,请尽情使用."),
    {"Label19", Kind::Label, "FullInstallPage_3", 24, 62, 448, 30, "正在拷贝文件：", kNone, -1},
    {"Label22", Kind::Label, "FullInstallPage_3", 24, 94, 448, 15, "进行如下操作,可进入Quarn,试用......", kNone, -1},
    {"Panel3", Kind::Panel, "FullInstallPage_3", 24, 114, 448, 112, "", kBlueBack, -1},
    {"Label27", Kind::Label, "Panel3", 12, 12, 424, 15, "相关基础应用Mysql,Tomcat 已经注册到服务中，会自动运行", kWhiteText, -1},
    {"Label28", Kind::Label, "Panel3", 12, 36, 424, 15, "以后每次想进入网站，直接输入输入如下地址:", kWhiteText, -1},
    {"Label29", Kind::Label, "Panel3", 36, 60, 400, 15, "http://localhost:8080", kWhiteText | kBold, -1},
    {"Label30", Kind::Label, "Panel3", 12, 84, 424, 15, "即可进入Quarn软件系统!", kWhiteText, -1},
    {"Label41", Kind::Label, "FullInstallPage_3", 24, 236, 448, 30,
     "退出时，系统将删除临时文件，可能需要1分钟时间本软件才能关闭，请等待...", kRedText, -1},

    // Never shown: it only carries the product check list of the install run.
    {"ChoosestylePage", Kind::Panel, "", 0, 0, 496, 290, "", kHidden, -1},
    {"ChoosestyleLabel", Kind::Label, "ChoosestylePage", 24, 20, 448, 15, "请选择安装方式：", kNone, -1},
    {"AllRadioButton", Kind::RadioButton, "ChoosestylePage", 24, 44, 200, 18, "全部安装", kChecked, -1},
    {"CustomRadioButton", Kind::RadioButton, "ChoosestylePage", 24, 66, 200, 18, "自定义安装", kNone, -1},
    {"StandRadioButton", Kind::RadioButton, "ChoosestylePage", 24, 88, 200, 18, "Quarn产品包安装", kNone, -1},
    {"ProductList", Kind::CheckListBox, "ChoosestylePage", 24, 116, 448, 150, "", kNone, -1},
};

#undef PAGE_HEADER

}  // namespace

void TfSetupMainForm::BuildControls() {
  tk::BuildLayout(*this, kWizardLayout);
  OnDpiChanged = [this] { tk::ApplyLayout(*this, kWizardLayout); };
  BindMembers();
  NameDrawnControls(*this);
  SetDefaultButton(NextBtn);
  SetCancelButton(CloseBtn);
}

void TfSetupMainForm::BindMembers() {
  Panel1 = Bind<tk::Panel>("Panel1");
  UpBtn = Bind<tk::Button>("UpBtn");
  NextBtn = Bind<tk::Button>("NextBtn");
  CloseBtn = Bind<tk::Button>("CloseBtn");
  BasePanel = Bind<tk::Panel>("BasePanel");
  ChoosestylePage = Bind<tk::Panel>("ChoosestylePage");
  ProductList = Bind<tk::CheckListBox>("ProductList");
  WelcomePage = Bind<tk::Panel>("WelcomePage");
  HadInstallPage = Bind<tk::Panel>("HadInstallPage");
  LicensePage = Bind<tk::Panel>("LicensePage");
  FullInstallPage_1 = Bind<tk::Panel>("FullInstallPage_1");
  FullInstallPage_2 = Bind<tk::Panel>("FullInstallPage_2");
  FullInstallPage_3 = Bind<tk::Panel>("FullInstallPage_3");
  UninstallPage = Bind<tk::Panel>("UninstallPage");
  Memo1 = Bind<tk::Memo>("Memo1");
  Label32 = Bind<tk::Label>("Label32");
  Label33 = Bind<tk::Label>("Label33");
  Label38 = Bind<tk::Label>("Label38");
  Label39 = Bind<tk::Label>("Label39");
  RadioButton3 = Bind<tk::RadioButton>("RadioButton3");
  RadioButton4 = Bind<tk::RadioButton>("RadioButton4");
  RadioButton5 = Bind<tk::RadioButton>("RadioButton5");
  Memo2 = Bind<tk::Memo>("Memo2");
  RadioButton1 = Bind<tk::RadioButton>("RadioButton1");
  RadioButton2 = Bind<tk::RadioButton>("RadioButton2");
  Edit1 = Bind<tk::Edit>("Edit1");
  SpeedButton1 = Bind<tk::Button>("SpeedButton1");
  Label23 = Bind<tk::Label>("Label23");
  Label16 = Bind<tk::Label>("Label16");
  Label17 = Bind<tk::Label>("Label17");
  Memo3 = Bind<tk::Memo>("Memo3");
  Gauge1 = Bind<tk::Gauge>("Gauge1");
  Label19 = Bind<tk::Label>("Label19");
  Label29 = Bind<tk::Label>("Label29");
  Label36 = Bind<tk::Label>("Label36");
  Label37 = Bind<tk::Label>("Label37");
  Gauge2 = Bind<tk::Gauge>("Gauge2");
}

}  // namespace ui
