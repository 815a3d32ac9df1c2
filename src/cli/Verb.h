#pragma once
// kvx50-cli verbs: each verb is its own source and registers itself here.
// Exit codes: 0 success, 1 failure (one line on stderr naming the file or port), 2 usage.
#include <string>
#include <vector>

namespace kvx::cli {

struct Verb {
  const char* name;
  const char* summary;  // one line for the verb list
  const char* usage;    // the full --help text of the verb
  int (*run)(const std::vector<std::string>& args);
};

std::vector<Verb>& Verbs();

struct VerbRegistrar {
  explicit VerbRegistrar(Verb v) { Verbs().push_back(v); }
};

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// Prints "kvx50-cli VERB: message" on stderr and returns kExitFailure.
int Fail(const char* verb, const std::string& message);
int UsageError(const Verb& verb, const std::string& message);

}  // namespace kvx::cli
