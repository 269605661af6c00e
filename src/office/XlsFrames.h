#pragma once
// What the .xls reading process and the program say to each other over their socket.
// Every frame is a 4-byte length (host order), then its kind and contents:
//   'N' names: u16 count, then per name u32 length + UTF-8
//   'E' error: u8 (1 not opened, 2 password protected)
//   'R' row:   u32 row, u16 columns, u16 cells, then per cell u16 column, u8 type and
//              i64 | f64 | u32 length + UTF-8 (type 1, 2, 3)
//   'D' the sheet's end;  'X' no such sheet
// The program asks for a sheet by its index as a u32; closing the socket ends the process.

namespace xlsframes {

constexpr int kMaxFrame = 64 << 20; // a row of 256 cells of 32 767 characters fits
constexpr int kSocketFd = 3;        // where the process finds its socket

enum Kind : char { Names = 'N', Error = 'E', Row = 'R', Done = 'D', NoSheet = 'X' };
enum CellType : unsigned char { None = 0, Integer = 1, Real = 2, Text = 3 };
enum ErrorCode : unsigned char { NotOpened = 1, PasswordProtected = 2 };

} // namespace xlsframes
