#include "project_base.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace kvb::pack {

namespace {

constexpr std::string_view kExtendsKey = "extends";

bool IsArrayOfTables(const TomlNode& node) {
  return node.type == TomlNode::Type::kArray && !node.items.empty() &&
         std::all_of(node.items.begin(), node.items.end(),
                     [](const TomlNode& n) { return n.type == TomlNode::Type::kTable; });
}

void MergeInto(TomlNode& base, TomlNode&& over) {
  for (TomlMember& member : over.members) {
    auto same_key = [&](const TomlMember& m) { return m.key == member.key; };
    auto found = std::find_if(base.members.begin(), base.members.end(), same_key);
    if (found == base.members.end()) {
      base.members.push_back(std::move(member));
      continue;
    }
    TomlNode& target = found->value;
    if (target.type == TomlNode::Type::kTable && member.value.type == TomlNode::Type::kTable) {
      MergeInto(target, std::move(member.value));
    } else if (IsArrayOfTables(target) && IsArrayOfTables(member.value)) {
      for (TomlNode& item : member.value.items)
        target.items.push_back(std::move(item));
    } else {
      *found = std::move(member);
    }
  }
}

std::string ReadText(const std::string& path, const SourcePos& asked_at) {
  std::error_code ec;
  std::ifstream in(path, std::ios::binary);
  if (!std::filesystem::is_regular_file(path, ec) || !in)
    throw ProjectError(asked_at, "cannot open the base project \"" + path + "\"");
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TomlNode ReadTree(std::string_view text,
                  const std::string& file,
                  const std::string& base_dir,
                  std::vector<std::string>& chain) {
  TomlNode root = ParseToml(text, file);
  auto extends = std::find_if(root.members.begin(), root.members.end(),
                              [](const TomlMember& m) { return m.key == kExtendsKey; });
  if (extends == root.members.end())
    return root;
  const TomlNode value = std::move(extends->value);
  root.members.erase(extends);
  if (value.type != TomlNode::Type::kString)
    throw ProjectError(value.pos, "extends must be a string (the path of the base project)");
  const std::filesystem::path path = std::filesystem::path(base_dir) / value.text;
  const std::string canonical = std::filesystem::weakly_canonical(path).string();
  if (std::find(chain.begin(), chain.end(), canonical) != chain.end())
    throw ProjectError(value.pos, "the base project \"" + value.text + "\" extends this one");
  chain.push_back(canonical);
  TomlNode base = ReadTree(ReadText(path.string(), value.pos), path.string(), base_dir, chain);
  MergeInto(base, std::move(root));
  return base;
}

}  // namespace

TomlNode ReadProjectTree(std::string_view text, const std::string& file, const std::string& base_dir) {
  std::vector<std::string> chain = {
      std::filesystem::weakly_canonical(std::filesystem::path(file)).string()};
  return ReadTree(text, file, base_dir, chain);
}

}  // namespace kvb::pack
