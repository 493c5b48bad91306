#include "convert/CopyFile.h"

#include <optional>

#include "convert/ConversionForm.h"
#include "convert/NameRules.h"

namespace varst {
namespace {

// The first numbered alternative of dest that is free.
std::optional<std::string> FreeNumberedName(const std::string& dest, const CopyTarget& target) {
  for (int n = 1; n <= kMaxNumberedNames; ++n) {
    std::string candidate = MakeNumberedName(dest, n);
    if (!target.Exists(candidate)) return candidate;
  }
  return std::nullopt;
}

// The existing-file question, or the answer remembered for the rest of the run.
int DuplicateAnswer(ConversionState& state, ConversionQuestions& questions) {
  if (state.DupRemembered != 0) return RememberedAnswer(state.DupRemembered);
  const QuestionReply reply = questions.AskDuplicate(state.DupNewName);
  const int answer = reply.answer == kAnswerAbort || reply.answer == kAnswerGoOn ? reply.answer : kAnswerSkip;
  if (reply.doNotAskAgain) state.DupRemembered = kRememberedBase + answer;
  return answer;
}

int CopyTo(const std::string& src, const std::string& chosen, std::string& dest, CopyTarget& target,
           std::string* failure) {
  const WriteResult written = target.Copy(src, chosen);
  if (!written) {
    if (failure != nullptr) *failure = written.error;
    return kCopyFailed;
  }
  dest = chosen;
  return kCopyDone;
}

}  // namespace

int CopyFile(const std::string& src, std::string& dest, int existingChoice, ConversionState& state,
             ConversionQuestions& questions, CopyTarget& target, std::string* failure) {
  switch (existingChoice) {
    case kExistingOverwrite:
      return CopyTo(src, dest, dest, target, failure);
    case kExistingRename: {
      if (!target.Exists(dest)) return CopyTo(src, dest, dest, target, failure);
      const std::optional<std::string> numbered = FreeNumberedName(dest, target);
      if (!numbered) {
        if (failure != nullptr) *failure = "Every numbered name up to (999) exists: " + dest;
        return kCopyFailed;
      }
      return CopyTo(src, *numbered, dest, target, failure);
    }
    case kExistingAsk: {
      state.DupAnswer = kAnswerSkip;
      state.DupNewName = dest;
      if (!target.Exists(dest)) return CopyTo(src, dest, dest, target, failure);
      state.DupAnswer = DuplicateAnswer(state, questions);
      if (state.DupAnswer == kAnswerAbort) return kCopyAborted;
      if (state.DupAnswer == kAnswerSkip) return kCopyExists;
      return CopyTo(src, state.DupNewName, dest, target, failure);
    }
    default:
      return target.Exists(dest) ? kCopyExists : CopyTo(src, dest, dest, target, failure);
  }
}

}  // namespace varst
