// Basic types and constants with the widths and values the deliverables rely on.
// LONG, DWORD and their kin are fixed 32-bit: never use `long` for stored or exchanged values.
#pragma once

#include <cstddef>
#include <cstdint>

typedef int32_t BOOL;
typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef int32_t INT;
typedef uint32_t UINT;
typedef int16_t SHORT;
typedef uint16_t USHORT;
typedef int64_t LONGLONG;
typedef uint64_t ULONGLONG;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t ULONG_PTR;
typedef uintptr_t DWORD_PTR;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef DWORD COLORREF;
typedef wchar_t TCHAR;
typedef wchar_t WCHAR;
typedef char CHAR;
typedef wchar_t* LPTSTR;
typedef const wchar_t* LPCTSTR;
typedef wchar_t* LPWSTR;
typedef const wchar_t* LPCWSTR;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef BYTE* LPBYTE;
typedef void* HANDLE;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#define _T(x) L##x

constexpr WORD MAKEWORD(BYTE lo, BYTE hi) {
    return WORD(lo | (WORD(hi) << 8));
}
constexpr DWORD MAKELONG(WORD lo, WORD hi) {
    return DWORD(lo) | (DWORD(hi) << 16);
}
constexpr WORD LOWORD(DWORD_PTR v) {
    return WORD(v & 0xFFFF);
}
constexpr WORD HIWORD(DWORD_PTR v) {
    return WORD((v >> 16) & 0xFFFF);
}
constexpr BYTE LOBYTE(DWORD_PTR v) {
    return BYTE(v & 0xFF);
}
constexpr BYTE HIBYTE(DWORD_PTR v) {
    return BYTE((v >> 8) & 0xFF);
}

// Colours: red in the low byte.
constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
    return COLORREF(r) | (COLORREF(g) << 8) | (COLORREF(b) << 16);
}
constexpr BYTE GetRValue(COLORREF c) {
    return BYTE(c & 0xFF);
}
constexpr BYTE GetGValue(COLORREF c) {
    return BYTE((c >> 8) & 0xFF);
}
constexpr BYTE GetBValue(COLORREF c) {
    return BYTE((c >> 16) & 0xFF);
}

struct POINT {
    LONG x;
    LONG y;
};
struct SIZE {
    LONG cx;
    LONG cy;
};
struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
typedef POINT* LPPOINT;
typedef const POINT* LPCPOINT;
typedef SIZE* LPSIZE;
typedef RECT* LPRECT;
typedef const RECT* LPCRECT;

// 64-bit intermediate, rounded half away from zero; -1 when the divisor is zero.
int MulDiv(int number, int numerator, int denominator);
