#pragma once

// Correction FIRs of the A-format to B-format conversion, one W and one X
// table per sample-rate class (X serves X, Y and Z). Made by
// tools/correction_tables.py; see there for the design.

constexpr int kCorrectionTaps44K = 29;   // 44.1 and 48 kHz, and any unlisted rate
constexpr int kCorrectionTaps88K = 57;   // 88.2 and 96 kHz
constexpr int kCorrectionTaps176K = 113; // 176.4 and 192 kHz

extern const float Varrow_host_W_Filter_44K[kCorrectionTaps44K];
extern const float Varrow_host_X_Filter_44K[kCorrectionTaps44K];
extern const float Varrow_host_W_Filter_88K[kCorrectionTaps88K];
extern const float Varrow_host_X_Filter_88K[kCorrectionTaps88K];
extern const float Varrow_host_W_Filter_96K[kCorrectionTaps88K];
extern const float Varrow_host_X_Filter_96K[kCorrectionTaps88K];
extern const float Varrow_host_W_Filter_176K[kCorrectionTaps176K];
extern const float Varrow_host_X_Filter_176K[kCorrectionTaps176K];
extern const float Varrow_host_W_Filter_192K[kCorrectionTaps176K];
extern const float Varrow_host_X_Filter_192K[kCorrectionTaps176K];
