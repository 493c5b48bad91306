#include "convert/CopyFile.h"

#include "convert/ConversionForm.h"
#include "convert/NameRules.h"

namespace varst {
namespace {

// The existing-file question, or the answer remembered for the rest of the run.
int DuplicateAnswer(ConversionState& state, ConversionQuestions& questions) {
  if (state.DupRemembered != 0) return RememberedAnswer(state.DupRemembered);
  const QuestionReply reply = questions.AskDuplicate(state.DupNewName);
  const int answer = reply.answer == kAnswerAbort || reply.answer == kAnswerGoOn ? reply.answer : kAnswerSkip;
  if (reply.doNotAskAgain) state.DupRemembered = kRememberedBase + answer;
  return answer;
}

// The result of a copy to `chosen`; on success dest becomes the path written.
int Outcome(const CopyResult& result, const std::string& chosen, std::string& dest, std::string* failure) {
  if (result.kind == CopyResult::Kind::Copied) {
    dest = chosen;
    return kCopyDone;
  }
  if (failure != nullptr) *failure = result.error;
  return kCopyFailed;
}

// dest, or else the first numbered alternative that is free when the copy claims it: a name
// another run takes in between is passed over like one that was taken before.
int CopyToFreeName(const std::string& src, std::string& dest, CopyTarget& target, std::string* failure) {
  for (int n = 0; n <= kMaxNumberedNames; ++n) {
    const std::string candidate = n == 0 ? dest : MakeNumberedName(dest, n);
    if (target.Exists(candidate)) continue;
    const CopyResult result = target.Copy(src, candidate, Placement::Claim);
    if (result.kind != CopyResult::Kind::NameTaken) return Outcome(result, candidate, dest, failure);
  }
  if (failure != nullptr) *failure = "Every numbered name up to (999) exists: " + dest;
  return kCopyFailed;
}

// Copies to dest when nothing is there; kCopyExists when something is, also when it came
// between the test and the copy.
int CopyUnlessExists(const std::string& src, std::string& dest, CopyTarget& target, std::string* failure) {
  if (target.Exists(dest)) return kCopyExists;
  const CopyResult result = target.Copy(src, dest, Placement::Claim);
  if (result.kind == CopyResult::Kind::NameTaken) return kCopyExists;
  return Outcome(result, dest, dest, failure);
}

}  // namespace

std::string UserGivenPath(std::string path) {
#ifndef _WIN32
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
#endif
  return path;
}

int CopyFile(const std::string& src, std::string& dest, int existingChoice, ConversionState& state,
             ConversionQuestions& questions, CopyTarget& target, std::string* failure) {
  switch (existingChoice) {
    case kExistingOverwrite:
      return Outcome(target.Copy(src, dest, Placement::Replace), dest, dest, failure);
    case kExistingRename:
      return CopyToFreeName(src, dest, target, failure);
    case kExistingAsk: {
      state.DupAnswer = kAnswerSkip;
      state.DupNewName = dest;
      const int free = CopyUnlessExists(src, dest, target, failure);
      if (free != kCopyExists) return free;
      state.DupAnswer = DuplicateAnswer(state, questions);
      if (state.DupAnswer == kAnswerAbort) return kCopyAborted;
      if (state.DupAnswer == kAnswerSkip) return kCopyExists;
      const std::string chosen = UserGivenPath(state.DupNewName);
      return Outcome(target.Copy(src, chosen, Placement::Replace), chosen, dest, failure);
    }
    default:
      return CopyUnlessExists(src, dest, target, failure);
  }
}

}  // namespace varst
