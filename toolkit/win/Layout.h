// Forms described as data: one table per form, read like a designer file. BuildLayout creates
// the controls in table order, each under the parent named in its row, and the form then binds
// its members by name; tests look controls up by name the same way.
#pragma once

#include <map>
#include <string>

#include "toolkit/win/Control.h"

namespace tk {

class Form;

enum class Kind {
  Panel, Bevel, Label, Button, RadioButton, Edit, Memo, CheckListBox, Gauge, Image, ComboBox, ShellTreeView
};

// Row options, or-ed together.
enum Option : unsigned {
  kNone = 0,
  kHidden = 1u << 0,
  kDisabled = 1u << 1,
  kBold = 1u << 2,
  kTitle = 1u << 3,          // bold, 14 pixels
  kMaroonText = 1u << 4,
  kRedText = 1u << 5,
  kWhiteText = 1u << 6,
  kWhiteBack = 1u << 7,
  kBlueBack = 1u << 8,
  kChecked = 1u << 9,        // radio button
  kScrollBar = 1u << 10,     // memo: vertical scroll bar
  kNoBorder = 1u << 11,      // memo
  kAlignBottom = 1u << 12,   // full width along the parent's bottom edge
  kAlignClient = 1u << 13,   // the parent's client area above the bottom-aligned rows
  kTextResource = 1u << 14,  // memo: the caption names a UTF-8 text resource
  kPictureResource = 1u << 15,  // image: the caption names a picture resource
};

struct ControlRow {
  const char* name;
  Kind kind;
  const char* parent;  // "" is the form itself
  int x, y, width, height;  // design pixels, at 96 DPI
  const char* caption;  // GBK
  unsigned options;
  int tabOrder;  // -1 keeps the creation order
};

// Creates the rows' controls on the form, owned by the form and named by their rows, so that
// Form::FindControl finds them, placed at the form's DPI. Raises EInvalidOperation for a row
// whose parent is unknown.
void BuildLayout(Form& form, const ControlRow* rows, size_t count);

// Places the rows' controls again at the form's DPI, after it changed; rows whose control is
// gone (a released page) are passed over. A control keeps the parent it has now.
void ApplyLayout(Form& form, const ControlRow* rows, size_t count);

template <size_t N>
void BuildLayout(Form& form, const ControlRow (&rows)[N]) {
  BuildLayout(form, rows, N);
}

template <size_t N>
void ApplyLayout(Form& form, const ControlRow (&rows)[N]) {
  ApplyLayout(form, rows, N);
}

}  // namespace tk
