// The application's string table, installed into the platform's string loader at start-up.
#pragma once

#include <QString>
#include <utility>
#include <vector>

std::vector<std::pair<unsigned, QString>> applicationStrings();
