// Every commentary line that the programs print after a stage, in one place, so
// that the text and its encoding are decided here alone. Each line carries its
// own trailing newline.
#pragma once

// Stages of the shared reduction.
inline constexpr char line_scaled[] = ":주어진 행에서 가장 큰 수로 나눔.\n";
inline constexpr char line_pivoted[] = ":해당 열에서 가장 큰 수 선택(aii가 0인지 확인)\n";
inline constexpr char line_eliminated[] = ":가감법(미지수 소거)\n";
inline constexpr char line_backward[] = ":Gauss-Jordan Elimination...\n";

// gjinverse's own stages.
inline constexpr char line_inverse_input[] = ":입력완료\n";
inline constexpr char line_normalized[] = ":Gauss-Jordan Elimination 완료.\n";
inline constexpr char line_inverse_done[] = ":Inverse Matrix 완료.\n";

// gjsolve's input line, the only one without a leading colon.
inline constexpr char line_solve_input[] = "입력\n";
