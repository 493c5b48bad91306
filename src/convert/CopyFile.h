#pragma once
// One copy of a run under the existing-file choice.

#include <string>

#include "convert/ConversionQuestions.h"
#include "convert/ConversionState.h"
#include "convert/CopyTarget.h"

namespace varst {

// Results of CopyFile.
inline constexpr int kCopyFailed = 0;   // nothing written; dest unchanged
inline constexpr int kCopyDone = 1;     // dest now holds the path actually written
inline constexpr int kCopyExists = 2;   // not copied because dest exists
inline constexpr int kCopyAborted = 3;  // the user chose "中断"

// The numbered alternatives tried with "名前を変えて保存する": name(1).ext to name(999).ext.
inline constexpr int kMaxNumberedNames = 999;

// Copies src to dest under the existing-file choice (kExistingOverwrite ... kExistingAsk; an
// unknown index counts as kExistingSkip, which never replaces a file). Anything at a name
// counts as existing (a file the user cannot read, a folder, a link to nothing). Only
// "上書きする" and "OK" in the question replace a file, and only one the user could write.
// With kExistingAsk and an existing dest, the remembered answer or else `questions` decides,
// through state.DupAnswer, state.DupRemembered and state.DupNewName. When every numbered
// name is taken, nothing is written and the copy fails. On failure, `failure` (when given)
// receives the reason.
int CopyFile(const std::string& src, std::string& dest, int existingChoice, ConversionState& state,
             ConversionQuestions& questions, CopyTarget& target, std::string* failure = nullptr);

// A path the user typed, with every "\" read as a folder separator: a base folder "out\" is
// the folder out, never a name beside it.
[[nodiscard]] std::string UserGivenPath(std::string path);

}  // namespace varst
