#pragma once
// Today's year, from one place that tests can set.

// The current year: the clock's, or the one set for tests.
int CurrentYear();
// Sets the year CurrentYear gives; 0 goes back to the clock.
void SetCurrentYear(int year);
