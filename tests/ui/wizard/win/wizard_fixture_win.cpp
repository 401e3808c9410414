#include "wizard_fixture_win.h"

#include "setupdata/default_messages.h"

namespace kvb::test {

TScript LogScript(const std::string& entry) {
  return Script({Statement("SET", {"%Log%", "%Log%" + entry + "|"})});
}

TSetupControl Control(uint8_t kind,
                      std::vector<std::string> strings,
                      int left,
                      int top,
                      int width,
                      int height) {
  TSetupControl control;
  control.Kind = kind;
  control.Left = left;
  control.Top = top;
  control.Width = width;
  control.Height = height;
  for (size_t i = 0; i < strings.size() && i < control.Strings.size(); ++i)
    control.Strings[i] = std::move(strings[i]);
  return control;
}

TSetupDialog LoggingPage(const std::string& name, std::vector<TSetupControl> controls) {
  TSetupDialog page;
  page.Name = name;
  page.Title = name + " of %SoftwareName%";
  page.Width = 300;
  page.Height = 200;
  page.Font = {"Arial", 8, 0x80000008u, 0, 1};
  page.Controls = std::move(controls);
  page.Scripts[kBeforeScript] = LogScript(name + ".before");
  page.Scripts[kBuiltScript] = LogScript(name + ".built");
  page.Scripts[kShownScript] = LogScript(name + ".shown");
  page.Scripts[kLeaveScript] = LogScript(name + ".leave");
  return page;
}

WizardTest::WizardTest() {
  data.LanguageLessMessages = DefaultMessages();
  data.Properties.SoftwareName = "Demo";
  data.Properties.Title = "%SoftwareName% Setup";
  data.Properties.Font = {"Arial", 8, 0x80000008u, 0, 1};
  vars.SoftwareName = "Demo";
  vars.SetVariable("%Log%", "");
  header.Trailer.MainArchiveOffset = 4096;
  engine = std::make_unique<TScriptEngine>(vars, ScriptServices{});
  machine.IsNT = true;
  machine.PackedVersion = 5u << 24 | 1u << 16 | 2600;
  machine.ScreenWidth = 1024;
  machine.ScreenHeight = 768;
  machine.ColorBits = 32;
  machine.MemoryMB = 512;
}

WizardTest::~WizardTest() {
  form.reset();
  // The quit message of a run the wizard ended must not reach the next test.
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message != WM_QUIT)
      DispatchMessageA(&msg);
  }
}

WizardEnvironment WizardTest::Environment() {
  WizardEnvironment environment;
  environment.Data = &data;
  environment.Header = &header;
  environment.Vars = &vars;
  environment.Scripts = engine.get();
  environment.SetupProgramPath = "C:\\nowhere\\setup.exe";
  environment.ApplicationTitle = [] { return std::string("Demo Setup"); };
  environment.Machine = [this] { return machine; };
  environment.ShowMessage = [this](const std::string& text, UINT) { messages.push_back(text); };
  environment.AskYesNo = [this](const std::string& text) {
    questions.push_back(text);
    return answer_yes;
  };
  environment.RestartWindows = [this] { ++restarts; };
  return environment;
}

TfrmSetupMain& WizardTest::Create() {
  form = std::make_unique<TfrmSetupMain>(Environment());
  return *form;
}

void WizardTest::Command(uint8_t code, const std::string& p1, const std::string& p2) {
  form->PageCommandHandler(code, p1, p2, "");
}

std::string WizardTest::Var(const std::string& name) {
  return vars.ExpandText(name);
}

TWindow& WizardTest::PageControl(size_t index) {
  return *form->PagePanel()->Control(index);
}

}  // namespace kvb::test
