#include "engine/latin1_folding.h"

#include <gtest/gtest.h>

using namespace engine;

TEST(Latin1Folding, accented_letters_fold_to_their_base_letter_at_the_range_edges)
{
    struct Case { char32_t code; char32_t folded; };
    for (Case c : {Case{192, 'A'}, Case{197, 'A'}, Case{198, 198}, Case{199, 'C'}, Case{200, 'E'}, Case{207, 'I'},
                   Case{208, 208}, Case{209, 'N'}, Case{214, 'O'}, Case{215, 215}, Case{216, 216}, Case{217, 'U'},
                   Case{221, 'Y'}, Case{223, 223}, Case{224, 'a'}, Case{231, 'c'}, Case{235, 'e'}, Case{239, 'i'},
                   Case{241, 'n'}, Case{246, 'o'}, Case{247, 247}, Case{252, 'u'}, Case{253, 'y'}, Case{255, 255},
                   Case{'z', 'z'}})
        EXPECT_EQ(foldLatin1(c.code), c.folded) << static_cast<unsigned>(c.code);
}

TEST(Latin1Folding, printable_signature_folds_then_drops_what_is_not_printable_ascii)
{
    EXPECT_EQ(printableSignature(U"\u00C7a va"), "Ca va");
    EXPECT_EQ(printableSignature(U"A\u00E7\u00E3o"), "Acao");
    EXPECT_EQ(printableSignature(U"a\tb\u00FF\u00D7c~\x7F\u20AC"), "abc~");
    EXPECT_EQ(printableSignature(U""), "");
}
