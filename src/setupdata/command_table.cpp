#include "setupdata/command_table.h"

#include <array>

#include "base/text.h"

namespace kvb {
namespace {

struct Entry {
  uint8_t code;
  std::string_view name;
  uint8_t args;
  bool writes;
};

// Every defined code. Codes 0, 3, 14, 45, 103 and 104 are handed to the wizard, which
// does nothing with them; they keep their stored argument counts but have no name.
constexpr Entry kEntries[] = {
    {0, "", 5, false},
    {1, "MESSAGE", 3, false},
    {2, "ASK", 4, true},
    {3, "", 2, false},
    {4, "OPEN", 1, false},
    {5, "FILEOPEN", 3, true},
    {6, "FILEWRITE", 1, false},
    {7, "FILEWRITELINE", 1, false},
    {8, "FILEREAD", 2, true},
    {9, "FILEREADLINE", 1, true},
    {10, "FILECLOSE", 0, false},
    {11, "READREG", 5, true},
    {12, "WRITEREG", 4, false},
    {13, "DELETEREG", 3, false},
    {14, "", 2, false},
    {15, "CANCEL", 0, false},
    {16, "NEXTPAGE", 0, false},
    {17, "PREVIOUSPAGE", 0, false},
    {18, "GOTOPAGE", 1, false},
    {19, "SHOWDIALOG", 1, false},
    {20, "SELECTFOLDER", 1, true},
    {21, "REFRESH", 2, false},
    {22, "STOREVALUES", 0, false},
    {23, "INSTALL", 0, false},
    {24, "DLLCALL", 5, false},
    {25, "FINISH", 0, false},
    {26, "RUN", 3, false},
    {27, "DELETEFILE", 1, false},
    {28, "COPYFILE", 2, false},
    {29, "FOR", 4, true},
    {30, "ENDFOR", 1, false},
    {31, "WHILE", 1, false},
    {32, "ENDWHILE", 1, false},
    {33, "LISTBOXADD", 2, false},
    {34, "LISTBOXCLEAR", 1, false},
    {35, "CALCULATE", 4, true},
    {36, "FILEINFO", 3, true},
    {37, "FILESEARCH", 3, true},
    {38, "MAKEFOLDER", 1, false},
    {39, "REMOVEFOLDER", 1, false},
    {40, "SHORTCUT", 5, false},
    {41, "DELETESHORTCUT", 2, false},
    {42, "RANDOM", 3, true},
    {43, "WINDOWEXISTS", 3, true},
    {44, "CLOSEWINDOW", 3, false},
    {45, "", 0, false},
    {46, "IF", 1, false},
    {47, "ENDIF", 1, false},
    {48, "LABEL", 1, false},
    {49, "GOTO", 1, false},
    {50, "EXIT", 0, false},
    {51, "ONLINECHECK", 1, true},
    {52, "DOWNLOAD", 2, false},
    {53, "POST", 2, false},
    {54, "GETTEXT", 2, true},
    {55, "BREAK", 0, false},
    {56, "SET", 3, true},
    {57, "ISINSTALLED", 3, true},
    {58, "UNINSTALL", 3, true},
    {59, "MODIFYMODE", 0, false},
    {60, "SHOWWIZARD", 0, false},
    {61, "DEVICECONNECTED", 1, true},
    {62, "DEVICEOWNER", 2, true},
    {63, "DEVICEOS", 2, true},
    {64, "DEVICERUN", 2, false},
    {65, "DEVICEFILEINFO", 3, true},
    {66, "DEVICEFILESEARCH", 3, true},
    {67, "DEVICEMAKEFOLDER", 1, false},
    {68, "DEVICEREMOVEFOLDER", 1, false},
    {69, "DEVICEFILEOPEN", 3, true},
    {70, "DEVICEFILEWRITE", 1, false},
    {71, "DEVICEFILEWRITELINE", 1, false},
    {72, "DEVICEFILEREAD", 2, true},
    {73, "DEVICEFILEREADLINE", 1, true},
    {74, "DEVICEFILECLOSE", 0, false},
    {75, "DEVICEREADREG", 5, true},
    {76, "DEVICEWRITEREG", 4, false},
    {77, "DEVICEDELETEREG", 3, false},
    {78, "DEVICECOPY", 2, false},
    {79, "COPYTODEVICE", 2, false},
    {80, "COPYFROMDEVICE", 2, false},
    {81, "DEVICEDELETEFILE", 1, false},
    {82, "DEVICEAPPINSTALLED", 1, true},
    {83, "DEVICEPLATFORM", 1, true},
    {84, "DEVICEPROCESSOR", 1, true},
    {85, "DEVICECPUNATIVE", 1, true},
    {86, "DEVICEFREESPACE", 2, true},
    {87, "HOTSYNCUSERCOUNT", 1, true},
    {88, "HOTSYNCUSER", 2, true},
    {89, "FOREACHSELECTED", 3, true},
    {90, "ENDFOREACH", 1, false},
    {91, "LISTBOXSELECTALL", 1, false},
    {92, "LISTBOXDESELECTALL", 1, false},
    {93, "LISTBOXSELECT", 2, false},
    {94, "LISTADD", 2, true},
    {95, "LISTREMOVE", 2, true},
    {96, "LISTCONTAINS", 3, true},
    {97, "LISTITEM", 3, true},
    {98, "LISTCOUNT", 2, true},
    {99, "LISTBOXSORT", 1, false},
    {100, "LISTBOXLANGUAGES", 1, false},
    {101, "ENABLEBUTTON", 1, false},
    {102, "DISABLEBUTTON", 1, false},
    {103, "", 0, false},
    {104, "", 0, false},
    {105, "ELSE", 1, false},
    {106, "TOHEX", 1, true},
    {107, "FROMHEX", 1, true},
    {108, "DEVICESERIAL", 1, true},
    {109, "DEVICEXSCALE", 1, true},
    {110, "WAIT", 1, false},
    {111, "CANCELDOWNLOAD", 0, false},
    {112, "PADZEROS", 2, true},
};

std::array<CommandInfo, 256> BuildTable() {
  std::array<CommandInfo, 256> table{};
  for (auto& info : table) info = CommandInfo{"", 0, false};
  for (const Entry& e : kEntries) table[e.code] = CommandInfo{e.name, e.args, e.writes};
  return table;
}

const std::array<CommandInfo, 256> kTable = BuildTable();

}  // namespace

const CommandInfo& GetCommandInfo(uint8_t code) { return kTable[code]; }

int StoredArgumentCount(uint32_t code) {
  uint8_t low = static_cast<uint8_t>(code & 0xFF);
  if (low >= 128) low = static_cast<uint8_t>(low - 128);
  return kTable[low].arg_count;
}

std::optional<uint8_t> FindCommandByName(std::string_view name) {
  if (name.empty()) return std::nullopt;
  for (const Entry& e : kEntries) {
    if (!e.name.empty() && SameText(e.name, name)) return e.code;
  }
  return std::nullopt;
}

}  // namespace kvb
