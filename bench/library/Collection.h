#pragma once
// A collection of library files as a user's years of backups might be: an
// equal number of files of each kind, names from a word list, one sound in
// ten repeated from an earlier file, and one file in a hundred cut short.
#include <string>

namespace vantorel::bench {

struct CCollectionStats {
    int nFiles = 0;
    int nDamaged = 0;
    long long nBytes = 0;
};

// Writes nFiles files (of the five kinds in turn) under dir, in folders of 100.
CCollectionStats WriteCollection(const std::string& dir, int nFiles, unsigned nSeed = 1);

} // namespace vantorel::bench
