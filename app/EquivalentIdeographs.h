// CJK radicals and strokes and the unified ideographs they look exactly like
// (Unicode's Equivalent_Unified_Ideograph property): the Kangxi radical ⼀
// and 一, the simplified radical ⻛ and 风.
#pragma once

// The unified ideograph that radical or stroke c looks exactly like; 0 for
// any other character.
char32_t EquivalentIdeograph(char32_t c);
