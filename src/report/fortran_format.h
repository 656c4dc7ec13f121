// Number and text fields with the semantics of Fortran edit descriptors, as gfortran prints
// them: rounding, a field too narrow filled with asterisks, exponents beyond 99 without the
// letter E, negative zero as gfortran prints it.
//
// Each append... function writes exactly one field at the end of `out` (a record being built, so
// that a row of fields costs no string per field); the functions without the prefix return the
// field on its own.
#pragma once

#include <string>
#include <string_view>

namespace korden::fmt {

// Iw: the integer right-justified in w columns.
void appendI(std::string& out, long long value, int w);
// Iw.m: at least m digits, with leading zeros.
void appendI(std::string& out, long long value, int w, int m);
// Fw.d: fixed point with d decimals in w columns.
void appendF(std::string& out, double value, int w, int d);
// 1P,Ew.d: scientific notation with one digit before the point and d decimals in w columns.
void appendE(std::string& out, double value, int w, int d);
// Aw: the text cut to w characters, or right-justified (blank-padded on the left) in w columns.
void appendA(std::string& out, std::string_view text, int w);
// nX: n blanks.
void appendX(std::string& out, int n);
// The significant-digit real of the report: v in w columns with n significant digits, fixed
// point or scientific by the report's rule (powers of ten held in single precision).
void appendSignificant(std::string& out, double value, int w, int n);

std::string I(long long value, int w);
std::string I(long long value, int w, int m);
std::string F(double value, int w, int d);
std::string E(double value, int w, int d);
std::string A(std::string_view text, int w);
std::string X(int n);
std::string significant(double value, int w, int n);

}  // namespace korden::fmt
