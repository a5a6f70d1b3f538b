// A test with a form of its own on the screen, 400 by 300 in the wizard's font, and Add to put
// a control of any kind on it at a place.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include "toolkit/win/Application.h"
#include "toolkit/win/Form.h"

namespace testing_support {

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    application.Initialize();
    form = new tk::Form(&application);
    form->SetFormFont(L"宋体", 12, GB2312_CHARSET);
    form->SetOuterSize(400, 300);
  }
  template <typename T>
  T* Add(int x, int y, int w, int h) {
    T* control = new T(form, form);
    control->SetBounds(x, y, w, h);
    return control;
  }
  tk::Application application;
  tk::Form* form = nullptr;
};

}  // namespace testing_support
