#include "tools/quarnpak/Cli.h"

#include <filesystem>

#include "toolkit/core/Errors.h"
#include "tools/quarnpak/Console.h"
#include "tools/quarnpak/Texts.h"
#include "tools/quarnpak/ToolError.h"
#include "tools/quarnpak/Verbs.h"

namespace fs = std::filesystem;

namespace qp {
namespace {

const char* const kUsage =
    "usage:\n"
    "  quarnpak create SRC_DIR OUT.pak [--version TEXT] [--description TEXT] [--sign KEY.pem]\n"
    "  quarnpak info PAK\n"
    "  quarnpak list PAK\n"
    "  quarnpak extract PAK DIR\n"
    "  quarnpak verify PAK [--key MAKER.pub]\n"
    "  quarnpak pubkey KEY.pem OUT.pub\n"
    "  quarnpak embed SETUP.EXE PAK OUT.EXE\n"
    "exit codes: 0 done, 1 bad input or damaged archive, 2 bad arguments";

struct UsageError {
  std::string reason;
};

struct Arguments {
  std::string verb;
  std::vector<std::string> operands;
  std::optional<std::string> version, description, signKey, makerKey;
};

// Each option: the command it belongs to and where its text goes.
struct OptionSlot {
  const char* name;
  const char* verb;
  std::optional<std::string> Arguments::*slot;
};
const OptionSlot kOptions[] = {{"--version", "create", &Arguments::version},
                               {"--description", "create", &Arguments::description},
                               {"--sign", "create", &Arguments::signKey},
                               {"--key", "verify", &Arguments::makerKey}};

Arguments Parse(const std::vector<std::string>& args) {
  Arguments parsed;
  parsed.verb = args.front();
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& word = args[i];
    const OptionSlot* option = nullptr;
    for (const OptionSlot& known : kOptions)
      if (word == known.name) option = &known;
    if (option) {
      if (parsed.verb != option->verb) throw UsageError{word + " belongs to " + option->verb};
      if (i + 1 >= args.size()) throw UsageError{word + " needs a text"};
      std::optional<std::string>& slot = parsed.*(option->slot);
      if (slot) throw UsageError{word + " given twice"};
      slot = args[++i];
    } else if (word.size() > 1 && word[0] == '-') {
      throw UsageError{"unknown option " + Quoted(word)};
    } else {
      parsed.operands.push_back(word);
    }
  }
  return parsed;
}

void Expect(const Arguments& parsed, size_t count) {
  if (parsed.operands.size() != count)
    throw UsageError{parsed.verb + " takes " + std::to_string(count) + (count == 1 ? " argument" : " arguments")};
}

void Dispatch(const Arguments& parsed) {
  const std::string& verb = parsed.verb;
  auto operand = [&](size_t i) { return fs::u8path(parsed.operands[i]); };
  if (verb == "create") {
    Expect(parsed, 2);
    std::optional<fs::path> signKey;
    if (parsed.signKey) signKey = fs::u8path(*parsed.signKey);
    CreateVerb({operand(0), operand(1), parsed.version, parsed.description, signKey});
  } else if (verb == "info") {
    Expect(parsed, 1);
    InfoVerb(operand(0));
  } else if (verb == "list") {
    Expect(parsed, 1);
    ListVerb(operand(0));
  } else if (verb == "extract") {
    Expect(parsed, 2);
    ExtractVerb(operand(0), operand(1));
  } else if (verb == "verify") {
    Expect(parsed, 1);
    std::optional<fs::path> makerKey;
    if (parsed.makerKey) makerKey = fs::u8path(*parsed.makerKey);
    VerifyVerb(operand(0), makerKey);
  } else if (verb == "pubkey") {
    Expect(parsed, 2);
    PubkeyVerb(operand(0), operand(1));
  } else if (verb == "embed") {
    Expect(parsed, 3);
    EmbedVerb(operand(0), operand(1), operand(2));
  } else {
    throw UsageError{"unknown command " + Quoted(verb)};
  }
}

}  // namespace

int RunQuarnpak(const std::vector<std::string>& args) {
  try {
    if (!args.empty() && (args[0] == "help" || args[0] == "--help" || args[0] == "-h")) {
      PrintLine(kUsage);
      return kExitOk;
    }
    if (args.empty()) throw UsageError{"no command given"};
    Dispatch(Parse(args));
    return kExitOk;
  } catch (const UsageError& error) {
    PrintError(error.reason);
    PrintError(kUsage);
    return kExitUsage;
  } catch (const ToolError& error) {
    PrintError(error.what());
  } catch (const tk::Exception& error) {
    PrintError(ShowGbk(error.Message()));
  } catch (const std::exception& error) {
    PrintError(std::string("unexpected failure: ") + error.what());
  } catch (...) {
    // Whatever else is thrown ends as a failure with a word, never through std::terminate.
    PrintError("unexpected failure");
  }
  return kExitFailed;
}

}  // namespace qp
