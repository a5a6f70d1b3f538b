// The toolkit's core: errors in window procedures, deferred release, ownership of windows.
#include <gtest/gtest.h>

#include "tests/win/support/WinTestSupport.h"
#include "toolkit/core/Errors.h"
#include "toolkit/win/Form.h"
#include "toolkit/win/Image.h"

using namespace testing_support;

TEST(WindowProcedure, AnErrorReachesTheDefaultHandlerAndTheProgramGoesOn) {
  tk::Application application;
  application.Initialize();
  BoxRecorder boxes;
  auto* form = new tk::Form(&application);
  int closes = 0;
  form->OnClose = [&] {
    ++closes;
    throw tk::EInOutError("磁盘已满", 112);
  };
  SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].kind, tk::MessageKind::Error);
  EXPECT_EQ(boxes.Boxes()[0].text, "磁盘已满");
  // The window is still there and a second close runs the handler again.
  EXPECT_TRUE(IsWindow(form->Handle()));
  SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(closes, 2);
}

TEST(Ownership, AFormTakesItsControlsAndAnOwnerItsForms) {
  HWND formWindow, imageWindow;
  {
    tk::Application application;
    application.Initialize();
    auto* form = new tk::Form(&application);
    auto* image = new tk::Image(form, form);
    formWindow = form->Handle();
    imageWindow = image->Handle();
    EXPECT_EQ(GetParent(imageWindow), formWindow);
    EXPECT_EQ(form->FindComponent(""), image);
    delete image;  // leaves its owner's and its parent's lists
    EXPECT_EQ(form->ComponentCount(), 0);
    EXPECT_TRUE(form->Controls().empty());
    EXPECT_FALSE(IsWindow(imageWindow));
    imageWindow = (new tk::Image(form, form))->Handle();
  }
  EXPECT_FALSE(IsWindow(formWindow));
  EXPECT_FALSE(IsWindow(imageWindow));
}

TEST(Release, AReleasedFormLeavesItsOwnerWhenMessagesAreHandled) {
  tk::Application application;
  application.Initialize();
  auto* form = new tk::Form(&application);
  HWND window = form->Handle();
  form->Release();
  EXPECT_EQ(application.ComponentCount(), 1);
  PumpMessages();
  EXPECT_EQ(application.ComponentCount(), 0);
  EXPECT_FALSE(IsWindow(window));
}
