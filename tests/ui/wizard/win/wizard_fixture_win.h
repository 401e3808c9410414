// A wizard over a package made in memory: records, variables, a script engine without
// machine services, and seams that record the messages, questions and restarts.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "script/script_builder.h"
#include "script/script_engine.h"
#include "setupdata/setup_data.h"
#include "ui/wizard/wizard_form_win.h"
#include "vars/variables.h"

namespace kvb::test {

// A script that appends `entry` and "|" to %Log%.
TScript LogScript(const std::string& entry);

TSetupControl Control(uint8_t kind,
                      std::vector<std::string> strings = {},
                      int left = 0,
                      int top = 0,
                      int width = 100,
                      int height = 20);
// A page (type 0) whose four scripts log "<name>.before", ".built", ".shown", ".leave".
TSetupDialog LoggingPage(const std::string& name, std::vector<TSetupControl> controls = {});

class WizardTest : public ::testing::Test {
 protected:
  WizardTest();
  ~WizardTest() override;

  WizardEnvironment Environment();
  // Creates the form (which checks the requirements and shows the first page).
  TfrmSetupMain& Create();
  // The command as a script would send it.
  void Command(uint8_t code, const std::string& p1 = "", const std::string& p2 = "");
  std::string Var(const std::string& name);
  // The controls of the page panel, in creation order.
  TWindow& PageControl(size_t index);

  TSetupData data;
  TSetupHeader header;
  Variables vars;
  std::unique_ptr<TScriptEngine> engine;
  MachineFacts machine;
  std::unique_ptr<TfrmSetupMain> form;

  std::vector<std::string> messages;   // texts shown with OK
  std::vector<std::string> questions;  // close questions asked
  bool answer_yes = false;
  int restarts = 0;
};

}  // namespace kvb::test
