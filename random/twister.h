// The host's uniform and normal generators, reproduced bit for bit over a
// saved generator state, so that a large block can be drawn here, many
// values at a time, and the advanced state handed back to the host: the
// host's next value is then what it would have been had it drawn the block
// itself.
//
// The uniform generator is the Mersenne Twister MT19937 (Matsumoto and
// Nishimura 1998): a double in (0, 1) from two tempered words, a = w1 >> 5,
// b = w2 >> 6, the pair drawn again while both are zero, value
// (a 2^26 + b) 2^-53.  The normal generator is a 256-level ziggurat
// (Marsaglia and Tsang 2000) over a twister state of its own: 54 bits from
// two words per attempt (53 for the magnitude and its level, one for the
// sign), the strips' rejection wedges and the tail (Marsaglia 1964) taking
// further uniforms as above.  Its tables are computed once per process by
// the host's own expressions, in its order, with the same C library; exact
// tables would differ in the last place of some entries.
//
// Pure C++: no host call, no allocation.  Not thread-safe on one state.
#ifndef BAYESMEX_TWISTER_H
#define BAYESMEX_TWISTER_H

#include <cstdint>

// A generator state as the host saves it: words 0 .. 623 the twister's
// words, word 624 the count of words left (1 .. 624; the next word drawn
// is word 625 - left, and at left = 1 the words are regenerated first).
constexpr int TWISTER_WORDS = 625;

// The values the host's rand(n, 1) gives from state s, into out[0 .. n-1],
// with s advanced exactly as the host leaves it.  Returns false, with s and
// out untouched, for n < 0 or a state this kernel cannot reproduce: a count
// of words left out of 1 .. 624, or twister words that stay zero for ever
// (word 0's top bit and words 1 .. 623 all zero: the host's redraw of a
// zero pair would never end; word 0's other bits are never drawn nor
// regenerated from).
bool twister_uniform(uint32_t* s, double* out, int64_t n);

// The values the host's randn(n, 1) gives from the normal generator's
// state s, as above.  Returns false, with s and out untouched, for n < 0 or
// a count of words left out of 1 .. 624.  Zero twister words are a state
// the host draws from: every value is +0.0.
bool twister_normal(uint32_t* s, double* out, int64_t n);

#endif
