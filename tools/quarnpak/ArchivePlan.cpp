#include "tools/quarnpak/ArchivePlan.h"

#include "pak/PakGlobals.h"
#include "toolkit/core/CodePage.h"
#include "common/portable/EntryNames.h"
#include "tools/quarnpak/ProblemList.h"
#include "tools/quarnpak/Texts.h"
#include "tools/quarnpak/ToolError.h"

namespace qp {
namespace {

// Refuses the archive, showing the problems, when there is one.
void ThrowIfAny(const ProblemList& problems) {
  if (problems.Count() == 0) return;
  std::string message = "nothing written:";
  for (const std::string& line : problems.Lines()) message += "\n  " + line;
  throw ToolError(message);
}

std::string FieldText(const char* what, const std::string& utf8, int32_t size, ProblemList* problems) {
  std::string gbk;
  if (!tk::Utf8ToGbk(utf8, &gbk))
    problems->Add(std::string(what) + " " + Quoted(utf8) + " cannot be stored in GBK");
  else if (gbk.size() > static_cast<size_t>(size))
    problems->Add(std::string(what) + " " + Quoted(utf8) + " is " + std::to_string(gbk.size()) +
                  " bytes in GBK; at most " + std::to_string(size) + " fit");
  return gbk;
}

}  // namespace

uint64_t ArchiveSizeFor(uint64_t entryCount, uint64_t dataBytes) {
  return pak::kHeaderSize + dataBytes + entryCount * pak::kEntrySize;
}

ArchivePlan PlanArchive(const std::vector<SourceEntry>& entries, const std::string& versionUtf8,
                        const std::string& descriptionUtf8) {
  ProblemList problems;
  ArchivePlan plan;
  plan.version = FieldText("version", versionUtf8, pak::kVersionSize, &problems);
  plan.description = FieldText("description", descriptionUtf8, pak::kDescriptionSize, &problems);
  if (entries.size() > pak::kMaxEntries)
    problems.Add(std::to_string(entries.size()) + " entries; an archive holds at most " +
                 std::to_string(pak::kMaxEntries));

  uint64_t dataBytes = 0;
  plan.entries.reserve(entries.size());
  for (const SourceEntry& entry : entries) {
    PlannedEntry planned{std::string(), entry.kind, entry.source, entry.size};
    if (!tk::Utf8ToGbk(entry.name, &planned.name)) {
      problems.Add("name " + Quoted(entry.name) + " is not UTF-8 or holds a character GBK cannot store");
    } else if (planned.name.size() > static_cast<size_t>(pak::kNameSize)) {
      problems.Add("name " + Quoted(entry.name) + " is " + std::to_string(planned.name.size()) +
                   " bytes in GBK; a name holds at most " + std::to_string(pak::kNameSize));
    } else {
      std::string problem = pub::NameProblem(planned.name, entry.kind);
      if (!problem.empty()) problems.Add("name " + Quoted(entry.name) + ": " + problem);
    }
    dataBytes += entry.size;
    plan.entries.push_back(std::move(planned));
  }
  plan.archiveSize = ArchiveSizeFor(entries.size(), dataBytes);
  // The digest block after the directory holds no position, so it may end past 4 GiB.
  if (plan.archiveSize > pak::kMaxArchiveSize)
    problems.Add("the archive would be " + std::to_string(plan.archiveSize) + " bytes; at most " +
                 std::to_string(pak::kMaxArchiveSize) + " fit in its 32-bit positions");
  ThrowIfAny(problems);
  return plan;
}

}  // namespace qp
