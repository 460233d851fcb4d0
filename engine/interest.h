#pragma once
// Interest days and interest amounts under the three formulas.
