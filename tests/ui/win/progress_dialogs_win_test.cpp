// The windows that only inform: the copying progress and the device-connection wait.
#include <gtest/gtest.h>

#include "ui/controls/label_win.h"
#include "ui/controls/progress_bar_win.h"
#include "ui/dialogs/copying_files_win.h"
#include "ui/dialogs/start_ce_connection_win.h"
#include "ui_test_support_win.h"

namespace kvb {
namespace {

TEST(CopyingFilesTest, StatusKindsAndCancel) {
  TfrmCopyingFiles form(nullptr, "Acme Setup");
  EXPECT_EQ(form.Text(), "Acme Setup");
  EXPECT_EQ(form.ClientSize().cx, 297);
  form.ShowStatus(0, "Copying files", 0);
  form.ShowStatus(1, "C:\\Acme\\a.dll", 0);
  form.ShowStatus(3, "", 250);
  form.ShowStatus(2, "", 125);
  form.ShowStatus(7, "ignored", 9);
  EXPECT_EQ(form.StatusLine().Text(), "Copying files");
  EXPECT_EQ(form.DetailLine().Text(), "C:\\Acme\\a.dll");
  EXPECT_EQ(form.Progress().Max(), 250);
  EXPECT_EQ(form.Progress().Position(), 125);

  form.SetFont({"Courier New", 10, kClWindowText, 0, 1});
  EXPECT_EQ(form.StatusLine().Font().FaceName, "Courier New");
  EXPECT_EQ(form.StatusLine().Font().Size, 10u);
  EXPECT_EQ(form.StatusLine().Font().Style & 1, 1) << "stays bold";
  EXPECT_EQ(form.DetailLine().Font().Style & 1, 0);

  form.Show();
  int cancels = 0;
  form.OnCancel = [&cancels] { ++cancels; };
  form.SetCancelCaption("Abbrechen");
  form.PressDialogKey(DialogKey::kEscape);
  EXPECT_EQ(cancels, 1);
  form.SetCancelEnabled(false);
  form.PressDialogKey(DialogKey::kEscape);
  EXPECT_EQ(cancels, 1);
}

TEST(ConnectionWaitTest, ShownUntilHiddenAndRefusesToClose) {
  ConnectionWaitLook look;
  look.Caption = "Tom & Jerry";
  look.Message = "Connect your device to Tom && Jerry";
  look.Font = TFontRecord{"Courier New", 9, kClWindowText, 0, 1};
  ShowConnectionWait(true, look);
  TfrmStartCEConnection* window = ConnectionWaitWindow();
  ASSERT_NE(window, nullptr);
  HWND handle = window->Handle();
  EXPECT_TRUE(IsWindowVisible(handle));
  EXPECT_EQ(window->Text(), "Tom & Jerry");
  const TWindow* label = window->Control(0);
  EXPECT_EQ(label->Text(), "Connect your device to Tom && Jerry");
  EXPECT_EQ(label->Font().FaceName, "Courier New");
  EXPECT_EQ(label->Font().Style & 1, 1) << "bold";
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_WAIT));

  SendMessageA(handle, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindowVisible(handle)) << "refuses to close";
  ShowConnectionWait(true, look);
  EXPECT_EQ(ConnectionWaitWindow(), window) << "shown once";

  ShowConnectionWait(false);
  EXPECT_EQ(ConnectionWaitWindow(), nullptr);
  EXPECT_FALSE(IsWindow(handle));
  ShowConnectionWait(false);
}

}  // namespace
}  // namespace kvb
