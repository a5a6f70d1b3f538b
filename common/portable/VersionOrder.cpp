#include "common/portable/VersionOrder.h"

#include <vector>

namespace pub {
namespace {

struct Part {
  std::string digits;  // without leading zeros
  std::string rest;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The parts of a version; false when it is none.
bool Parts(const std::string& version, std::vector<Part>* parts) {
  if (version.empty()) return false;
  size_t start = 0;
  while (true) {
    const size_t end = version.find('.', start);
    const std::string text = version.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (text.empty() || !IsDigit(text[0])) return false;
    size_t digitsEnd = 0;
    while (digitsEnd < text.size() && IsDigit(text[digitsEnd])) ++digitsEnd;
    Part part;
    part.digits = text.substr(0, digitsEnd);
    part.digits.erase(0, part.digits.find_first_not_of('0'));  // all zeros: empty, which is 0
    part.rest = text.substr(digitsEnd);
    parts->push_back(part);
    if (end == std::string::npos) return true;
    start = end + 1;
  }
}

// Numbers of any length: the longer one is larger, then digit by digit.
int CompareNumbers(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  return a.compare(b) < 0 ? -1 : a.compare(b) > 0 ? 1 : 0;
}

}  // namespace

std::optional<int> CompareVersions(const std::string& a, const std::string& b) {
  std::vector<Part> left, right;
  if (!Parts(a, &left) || !Parts(b, &right)) return std::nullopt;
  const size_t count = left.size() > right.size() ? left.size() : right.size();
  left.resize(count);
  right.resize(count);
  for (size_t i = 0; i < count; ++i) {
    if (int order = CompareNumbers(left[i].digits, right[i].digits)) return order;
    if (int order = left[i].rest.compare(right[i].rest)) return order < 0 ? -1 : 1;
  }
  return 0;
}

bool IsDowngrade(const std::string& packageVersion, const std::string& recordedVersion) {
  const std::optional<int> order = CompareVersions(packageVersion, recordedVersion);
  return order && *order < 0;
}

DowngradeDecision JudgeUnattendedDowngrade(const std::string& packageVersion, const std::string& recordedVersion,
                                           bool allowed) {
  DowngradeDecision decision;
  if (!IsDowngrade(packageVersion, recordedVersion)) return decision;
  const std::string older = "安装包的版本 " + packageVersion + " 比已安装的版本 " + recordedVersion + " 旧";
  decision.refused = !allowed;
  decision.note = allowed ? older + "，按 /ALLOWDOWNGRADE 降级安装。"
                          : older + "，已拒绝降级安装，没有做任何改动。要降级安装，请加 /ALLOWDOWNGRADE。";
  return decision;
}

std::string DowngradeQuestion(const std::string& packageVersion, const std::string& recordedVersion) {
  return "本安装包的版本 " + packageVersion + " 比已安装的版本 " + recordedVersion +
         " 旧。降级安装后，较新版本留下的数据可能无法使用。\r\n您确认要降级安装吗?";
}

}  // namespace pub
