#pragma once
// Calendar arithmetic on date serials and reading and writing of date text.
