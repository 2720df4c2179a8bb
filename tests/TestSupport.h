#ifndef VEILGRID_TESTS_TESTSUPPORT_H
#define VEILGRID_TESTS_TESTSUPPORT_H

#include <gtest/gtest.h>

#include <exception>
#include <string>

// Expects the statement to throw an exception whose what() is exactly the message. A call that
// returns a new object goes into a std::unique_ptr inside the statement, so nothing leaks when it
// unexpectedly succeeds.
#define EXPECT_FAILS_WITH(Statement, Message)                                                      \
    do {                                                                                           \
        std::string StrCaught_;                                                                    \
        bool BlnThrown_ = false;                                                                   \
        try {                                                                                      \
            Statement;                                                                             \
        } catch (const std::exception& E_) {                                                       \
            BlnThrown_ = true;                                                                     \
            StrCaught_ = E_.what();                                                                \
        }                                                                                          \
        EXPECT_TRUE(BlnThrown_) << "no exception from: " #Statement;                               \
        if (BlnThrown_) {                                                                          \
            EXPECT_EQ(StrCaught_, std::string(Message));                                           \
        }                                                                                          \
    } while (false)

#endif
