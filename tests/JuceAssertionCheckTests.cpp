#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <juce_core/juce_core.h>

#include <cstdlib>
#include <thread>

// Every test program's main installs the check: these prove that it fails what it should.
namespace
{
    // JUCE asserts that the range is not empty, then answers 0.
    void raiseAJuceAssertion()
    {
        juce::Random().nextInt (0);
    }

    constexpr const char* runTheRaisingTest = "VELTRINO_RAISE_A_JUCE_ASSERTION";

    // Registered only in the process that the last test starts: no run of the suite lists it.
    class RaisesOneUncaught : public ::testing::Test
    {
        void TestBody() override { raiseAJuceAssertion(); }
    };

    [[maybe_unused]] const bool raisingTestRegistered =
        std::getenv (runTheRaisingTest) != nullptr
        && ::testing::RegisterTest ("JuceAssertionCheckTests", "RaisesOneUncaught", nullptr, nullptr, __FILE__,
                                    __LINE__, []() -> ::testing::Test* { return new RaisesOneUncaught; });
}

TEST (JuceAssertionCheckTests, AnAssertionOnAnyThreadFailsTheTestNamingJucesFileAndLine)
{
    EXPECT_NONFATAL_FAILURE (raiseAJuceAssertion(), "JUCE Assertion failure in juce_Random.cpp:83");
    EXPECT_NONFATAL_FAILURE_ON_ALL_THREADS (std::thread (raiseAJuceAssertion).join(), "juce_Random.cpp:83");
}

TEST (JuceAssertionCheckTests, TheProgramFailsAndItsOutputSaysWhere)
{
    setenv (runTheRaisingTest, "1", 1);
    juce::ChildProcess child;
    ASSERT_TRUE (child.start (
        juce::StringArray { juce::File::getSpecialLocation (juce::File::currentExecutableFile).getFullPathName(),
                            "--gtest_filter=JuceAssertionCheckTests.RaisesOneUncaught" }));
    const auto output = child.readAllProcessOutput();
    unsetenv (runTheRaisingTest);
    ASSERT_TRUE (child.waitForProcessToFinish (10000));

    EXPECT_NE (child.getExitCode(), 0u) << output;
    EXPECT_TRUE (output.contains ("juce_Random.cpp:83: Failure")) << output;
    EXPECT_TRUE (output.contains ("[  FAILED  ] JuceAssertionCheckTests.RaisesOneUncaught")) << output;
}
