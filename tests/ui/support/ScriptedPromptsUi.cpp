// The scripted Prompts of the core tests, built into every Qt test program too.
#include "../../support/ScriptedPrompts.cpp"  // NOLINT(bugprone-suspicious-include)
