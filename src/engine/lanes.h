// Lane groups: N values side by side, so that one piece of arithmetic serves
// a single value (float) and a group of points at once (lanes<N>::F). Each
// instruction set gets the width of its vector registers (16 floats for
// AVX-512, 8 for AVX2, 4 for SSE2), so that every operation, compares
// included, maps onto one instruction or a few.
//
// Index
//   - Types: lanes, lanetypes
//   - Conversions and masks: bitsAs, convert, maskOf
//   - Table reads: readLanes
#pragma once

#include <cstdint>
#include <type_traits>

// Every helper a lane group passes through is inlined into the instruction-set
// body that uses it, whatever the optimisation level: a real call from an
// AVX2 body into code built without AVX would pass its 256-bit arguments the
// wrong way (the compiler's -Wpsabi warning says so).
#define VYR_INLINE inline __attribute__((always_inline))

// ---- Types ----
template <int N> struct lanes {
    typedef float F __attribute__((vector_size(4 * N)));
    typedef double D __attribute__((vector_size(8 * N)));
    typedef int32_t I __attribute__((vector_size(4 * N)));
    typedef uint32_t U __attribute__((vector_size(4 * N)));
};

// The double, signed and unsigned companions of float or of a lane group.
template <class F> struct lanetypes {
    typedef typename lanes<sizeof(F) / sizeof(float)>::D D;
    typedef typename lanes<sizeof(F) / sizeof(float)>::I I;
    typedef typename lanes<sizeof(F) / sizeof(float)>::U U;
};
template <> struct lanetypes<float> {
    typedef double D;
    typedef int32_t I;
    typedef uint32_t U;
};

// ---- Conversions and masks ----
// The bits of x read as a T of the same size (std::bit_cast is a call at -O0).
template <class T, class S> static VYR_INLINE T bitsAs(S x) { return __builtin_bit_cast(T, x); }

// Value conversion with the rounding of the plain casts, lane by lane.
template <class T, class S> static VYR_INLINE T convert(S x)
{
    if constexpr (std::is_arithmetic_v<S>) return (T)x;
    else return __builtin_convertvector(x, T);
}

// (x * num) / den computed in double and rounded back to float, lane by
// lane. The double lanes stay inside: no helper takes or returns a group
// wider than the float group it serves.
template <class F> static VYR_INLINE F scaledInDouble(F x, double num, double den)
{
    using D = typename lanetypes<F>::D;
    if constexpr (std::is_arithmetic_v<F>) return (F)((D)x * num / den);
    else return __builtin_convertvector(__builtin_convertvector(x, D) * num / den, F);
}

// All bits set where a comparison holds (a bool, or the lanes of a comparison).
template <class I, class C> static VYR_INLINE I maskOf(C holds)
{
    if constexpr (std::is_same_v<C, bool>) return I(0) - (I)holds;
    else return (I)holds;
}

// ---- Table reads ----
// table[index] for every lane.
template <class L, class T, class I> static VYR_INLINE L readLanes(const T* table, I index)
{
    L v;
    for (int i = 0; i < (int)(sizeof(I) / sizeof(int32_t)); i++) v[i] = table[index[i]];
    return v;
}
