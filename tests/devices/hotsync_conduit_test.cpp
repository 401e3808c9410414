#include <gtest/gtest.h>

#include "devices/hotsync_conduit.h"

namespace kvb {
namespace {

std::string Expand(const std::string& text) {
  return text == "%Dir%" ? "C:\\Palm" : text;
}

std::string Describe(const std::vector<ConduitValue>& values) {
  std::string text;
  for (const ConduitValue& v : values)
    text += v.Name + "=" + (v.IsInteger ? std::to_string(v.Number) : "'" + v.Text + "'") + ";";
  return text;
}

TEST(HotSyncConduitTest, CreatorNumbersPutTheFirstCharacterHighest) {
  EXPECT_EQ(CreatorNumber("KvbT"), 0x4B766254u);
  EXPECT_EQ(CreatorNumber("KvbTX"), 0x4B766254u);
  EXPECT_EQ(CreatorNumber("AB"), 0x41420000u);
  EXPECT_EQ(CreatorNumber(""), 0u);
  EXPECT_EQ(CreatorNumber("\xff\xff\xff\xff"), 0xFFFFFFFFu);
}

TEST(HotSyncConduitTest, ValuesByKindAndFlags) {
  THotSyncConduit application;
  application.Creator = "KvbT";
  application.ConduitFile = "%Dir%\\tide.dll";
  application.Directory = "Tide";
  application.Name = "Tides";
  application.Priority = 2;
  application.Module = "mod.dll";
  EXPECT_EQ(Describe(ConduitValues(application, Expand)),
            "Creator=1266049620;Conduit='%Dir%\\tide.dll';Directory='Tide';Integrate=0;"
            "Name='Tides';Priority=2;Module='mod.dll';");

  THotSyncConduit component = application;
  component.Kind = 1;
  component.ConduitFile = "%Dir%";
  component.RemoteDatabase = "TideDB";
  component.FileName = "%Dir%";
  component.Information = "info";
  component.ComFlag = 1;
  EXPECT_EQ(Describe(ConduitValues(component, Expand)),
            "Creator=1266049620;Conduit='ComConduit.dll';Directory='Tide';Remote0='TideDB';"
            "File0='C:\\Palm';Integrate=1;Name='Tides';Information='info';Priority=2;"
            "COMClient='';");
  EXPECT_EQ(ConduitKeyPrefix(0), "Application");
  EXPECT_EQ(ConduitKeyPrefix(1), "Component");
}

}  // namespace
}  // namespace kvb
