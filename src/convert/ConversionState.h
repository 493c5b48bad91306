#pragma once
// The state a conversion run shares with its window and its two questions.

#include <string>

namespace varst {

// Answers of both questions, by button index.
inline constexpr int kAnswerSkip = 0;   // "スキップ"
inline constexpr int kAnswerAbort = 1;  // "中断"
inline constexpr int kAnswerGoOn = 2;   // "続行" (time stamp) and "OK" (existing file)

// A remembered answer is stored as this plus the answer, so that 0 can mean "none".
inline constexpr int kRememberedBase = 4096;

struct ConversionState {
  int ListedCount = 0;          // rows 0 to ListedCount - 1 of the list hold files
  bool AbortRequested = false;  // set by the abort button, polled after each file

  int DupAnswer = 0;      // answer of the existing-file question
  int DupRemembered = 0;  // 0 none, else kRememberedBase + the answer to reuse
  std::string DupNewName;  // the destination offered, and after "OK" as the user left it

  int DateChkAnswer = 0;      // answer of the time stamp question
  int DateChkRemembered = 0;  // 0 none, else kRememberedBase + the answer to reuse

  bool NoBaseFolderTold = false;  // the run has said that the folder box is empty
};

// The answer a remembered value stands for: its low 8 bits.
[[nodiscard]] constexpr int RememberedAnswer(int remembered) { return remembered & 0xFF; }

}  // namespace varst
