#pragma once

#include <QString>

// A number written with a decimal comma, as in files whose fields are separated by semicolons or tabs
// ("3,5", "-1.234,56"), written with a decimal point instead ("3.5", "-1234.56"); any other text as it
// is. Points before the comma count as thousands separators only where they group three digits.
QString WithDecimalPoint(const QString& field);
