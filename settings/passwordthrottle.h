#pragma once

// Makes guessing slow where a wrong password costs more than a retry: after three wrong tries
// in a row, each answer waits, twice as long each time, up to half a minute. A right password
// starts the count again. It only counts and says how long to wait; the dialog does the waiting.
class PasswordThrottle
{
public:
    static constexpr int freeTries = 3;
    static constexpr int firstDelayMs = 1000;
    static constexpr int longestDelayMs = 30000;

    // How long the answer to a try waits after this many wrong tries in a row.
    static int delayMs(int failures);

    int nextDelayMs() const { return delayMs(failures); }
    void record(bool accepted) { failures = accepted ? 0 : failures + 1; }
    int failuresInARow() const { return failures; }

private:
    int failures = 0;
};
