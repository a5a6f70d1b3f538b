// Appending 40,000 lines to the log memo, against appending them to a plain list box, side by
// side in the same process, several rounds. Prints per-round times and the ratio, and the cost
// of the last 10,000 lines against the first 10,000 (growth with what the memo already holds).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "toolkit/core/CodePage.h"
#include "bench/Seconds.h"
#include "toolkit/win/Application.h"
#include "toolkit/win/Form.h"
#include "toolkit/win/Memo.h"

namespace {

constexpr int kLines = 40000;

std::string LineText(int i) { return "c:\\quarn\\eforum\\WEB-INF\\classes\\com\\quarn\\forum\\Class" + std::to_string(i) + ".class"; }

// Returns total seconds; quarters[] gets the time of each 10,000 lines.
double FillMemo(tk::Form& form, double quarters[4]) {
  tk::Memo memo(&form, &form, tk::MemoStyle{true, true});
  memo.SetBounds(10, 10, 448, 166);
  double start = Seconds(), mark = start;
  for (int i = 0; i < kLines; ++i) {
    memo.AddLine(LineText(i));
    tk::Application::Instance()->ProcessMessages();  // as the install run does after each file
    if ((i + 1) % 10000 == 0) {
      double now = Seconds();
      quarters[i / 10000] = now - mark;
      mark = now;
    }
  }
  return Seconds() - start;
}

double FillListBox(tk::Form& form) {
  HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT,
                              10, 10, 448, 166, form.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  double start = Seconds();
  for (int i = 0; i < kLines; ++i) {
    LRESULT index = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(tk::ToWide(LineText(i)).c_str()));
    SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);  // keep the end in view, as the memo does
    tk::Application::Instance()->ProcessMessages();
  }
  double elapsed = Seconds() - start;
  DestroyWindow(list);
  return elapsed;
}

}  // namespace

// memo_bench [ROUNDS]: one round by default; the list box alone takes minutes under Wine.
int main(int argc, char** argv) {
  int rounds = argc > 1 ? std::atoi(argv[1]) : 1;
  tk::Application application;
  application.Initialize();
  tk::Form form(&application);
  form.SetOuterSize(504, 358);
  form.Show();
  std::printf("round  memo_s  listbox_s  ratio  memo_first10k_s  memo_last10k_s\n");
  for (int round = 1; round <= rounds; ++round) {
    double quarters[4];
    double list = FillListBox(form);
    double memo = FillMemo(form, quarters);
    std::printf("%5d  %6.3f  %9.3f  %5.2f  %15.3f  %14.3f\n", round, memo, list, memo / list, quarters[0], quarters[3]);
    std::fflush(stdout);
  }
  return 0;
}
