#pragma once
// Test fixtures shared by the suites.
