// The texts of the main window's status bar, which its panels are sized
// for: panel 0 holds a scan's counts and a run's progress and end, panel 2
// the read-out of the pixel under the pointer.
#pragma once

inline constexpr char kScanCountsText[] = "サブフォルダ数 %d  全ファイル数 %d   JPEGファイル数 %d";
inline constexpr char kBatchProgressText[] = "処理中...　%3d%% %5d/%5d エラー:%d スキップ:%d";
// What a run that went to its end did: files saved, errors, skips.
inline constexpr char kRunEndSummary[] = "作業が終了しました。保存ファイル数:%4d エラー:%d スキップ:%d";
inline constexpr char kRunAbortSummary[] = "作業を中断しました。保存ファイル数 %4d エラー:%d スキップ:%d";
// Position, then red, green and blue.
inline constexpr char kPixelReadoutText[] = "XY(%d,%d) RGB(%3d,%3d, %3d)";
