// Basic types shared by every module. The program was written for 32-bit
// numbers and its results depend on exact 32-bit float rounding, so these
// aliases are fixed-width on purpose.
#pragma once
#include <cstddef>
#include <cstdint>

using REAL = float;         // always 32-bit IEEE; every stored value is rounded to it
using LONGREAL = double;    // intermediate results that must keep double precision
using CARDINAL = uint32_t;
using INTEGER = int32_t;
using BOOLEAN = bool;
using CHAR = char;          // texts are fixed arrays of 8-bit characters ending at the first zero
