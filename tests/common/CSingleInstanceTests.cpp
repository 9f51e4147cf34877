#include "common/CSingleInstance.h"

#include <gtest/gtest.h>

namespace
{
    struct Single
    {
        explicit Single (int valueToKeep = 0)
            : value (valueToKeep)
        {
        }

        int value;
        CSingleInstance<Single> single { *this };
    };
}

TEST (CSingleInstanceTests, DeletesOnlyWhatItMadeAndMakesWithTheGivenMaker)
{
    {
        Single madeElsewhere (1);
        EXPECT_EQ (CSingleInstance<Single>::getOrCreate (true), &madeElsewhere);

        // Its maker owns it: deleting here must not touch it.
        CSingleInstance<Single>::deleteInstance();
        EXPECT_EQ (CSingleInstance<Single>::get(), &madeElsewhere);
    }

    EXPECT_EQ (CSingleInstance<Single>::get(), nullptr);
    EXPECT_EQ (CSingleInstance<Single>::getOrCreate (false), nullptr);

    auto* made = CSingleInstance<Single>::getOrCreate (true, [] { return std::make_unique<Single> (7); });
    ASSERT_NE (made, nullptr);
    EXPECT_EQ (made->value, 7);
    EXPECT_EQ (CSingleInstance<Single>::getOrCreate (true), made);

    CSingleInstance<Single>::deleteInstance();
    EXPECT_EQ (CSingleInstance<Single>::get(), nullptr);
    CSingleInstance<Single>::deleteInstance();    // nothing left to delete
}
