#include "uninstall/uninstall_log.h"

#include "setupdata/byte_writer.h"
#include "setupdata/record_io.h"
#include "setupdata/script_io.h"
#include "setupdata/uninst_item_io.h"

namespace kvb {
namespace {

// English texts of the uninstaller's last six texts, for logs whose tag lacks them.
constexpr std::array<const char*, 6> kLateTextDefaults = {
    "Yes", "Yes To All", "No", "No To All", "Existent File", "Destination File"};
constexpr int kFirstLateText = kUninstallerTextCount - 6;

// What an older tag lacks.
struct TagForm {
  int StoredTexts = kUninstallerTextCount;
  StreamForm Records = StreamForm::kCurrent;
};

TagForm FormOfTag(std::string_view tag) {
  if (tag == kLogTagH)
    return {};
  if (tag == kLogTagG)
    return {kUninstallerTextCount, StreamForm::kOld};
  if (tag == kLogTagF)
    return {kUninstallerTextCount - 2, StreamForm::kOld};
  if (tag == kLogTagE)
    return {kUninstallerTextCount - 6, StreamForm::kOld};
  throw UnknownLogTag();
}

void WriteItems(ByteWriter& out, const std::vector<TUninstItem>& items) {
  out.I32(static_cast<int32_t>(items.size()));
  for (const TUninstItem& item : items) {
    if (item.Kind == kItemFile || item.Kind == kItemDeviceFile) {
      TUninstItem logged = item;
      logged.File = LogFileRecord(item.File);
      WriteUninstItem(out, logged);
    } else {
      WriteUninstItem(out, item);
    }
  }
}

void ReadTexts(ByteReader& in, const TagForm& form, TUninstallLog& log) {
  for (int i = 0; i < kUninstallerTextCount; ++i) {
    if (i < form.StoredTexts)
      log.Messages[i] = in.ZStr();
    else
      log.Messages[i] = kLateTextDefaults[i - kFirstLateText];
  }
}

// A stored count as the log holds it (int32); negative counts are damage.
uint32_t ReadCount(ByteReader& in, size_t min_record_size) {
  const int32_t count = in.I32();
  if (count < 0)
    throw FormatError("negative count in the uninstall log");
  return in.Count(static_cast<uint32_t>(count), min_record_size);
}

}  // namespace

std::string WriteUninstallLog(const TUninstallLog& log) {
  ByteWriter out;
  out.Bytes(kLogTagH);
  out.ZStr(log.SoftwareName);
  out.ZStr(log.Comments);
  out.ZStr(log.CompanyName);
  out.U8(log.KeepDefaultFont);
  out.U8(log.Option4);
  WriteFont(out, log.Font);
  for (const std::string& text : log.Messages)
    out.ZStr(text);
  out.ZStr(log.ConnectionText);
  WriteScript(out, log.BeforeScript, TextForm::kScrambled);
  WriteScript(out, log.AfterScript, TextForm::kScrambled);
  out.ZStr(log.SetupPath);
  out.ZStr(log.IconPath);
  out.ZStr(log.InstalledComponents);
  out.I32(static_cast<int32_t>(log.Platforms.size()));
  for (const TSetupPlatform& platform : log.Platforms)
    WritePlatform(out, platform);
  out.I32(static_cast<int32_t>(log.Variables.size()));
  for (const std::string& line : log.Variables)
    out.ZStr(line);
  WriteItems(out, log.Items);
  return out.Take();
}

TUninstallLog ReadUninstallLog(ByteSource& source) {
  ByteReader in(source);
  const TagForm form = FormOfTag(in.Bytes(4));
  TUninstallLog log;
  log.SoftwareName = in.ZStr();
  log.Comments = in.ZStr();
  log.CompanyName = in.ZStr();
  log.KeepDefaultFont = in.U8();
  log.Option4 = in.U8();
  log.Font = ReadFont(in);
  ReadTexts(in, form, log);
  log.ConnectionText = in.ZStr();
  log.BeforeScript = ReadScript(in, TextForm::kScrambled);
  log.AfterScript = ReadScript(in, TextForm::kScrambled);
  log.SetupPath = in.ZStr();
  log.IconPath = in.ZStr();
  log.InstalledComponents = in.ZStr();
  const uint32_t platforms = ReadCount(in, kMinPlatformSize);
  for (uint32_t i = 0; i < platforms; ++i)
    log.Platforms.push_back(ReadPlatform(in));
  const uint32_t variables = ReadCount(in, 1);
  for (uint32_t i = 0; i < variables; ++i)
    log.Variables.push_back(in.ZStr());
  const uint32_t items = ReadCount(in, kMinUninstItemSize);
  log.Items.reserve(items);
  for (uint32_t i = 0; i < items; ++i)
    log.Items.push_back(ReadUninstItem(in, form.Records));
  return log;
}

LogReadStatus ReadUninstallLogFile(const std::string& path, TUninstallLog& log) {
  std::unique_ptr<ByteSource> source = OpenFileSource(path);
  if (!source)
    return LogReadStatus::kCannotOpen;
  try {
    log = ReadUninstallLog(*source);
  } catch (const UnknownLogTag&) {
    return LogReadStatus::kInvalidTag;
  } catch (const FormatError&) {
    return LogReadStatus::kDamaged;
  }
  return LogReadStatus::kOk;
}

}  // namespace kvb
