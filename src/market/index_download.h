#pragma once
// The index refresh: probe the index site, fetch its mobile page and show the level, its
// change and the moment of the quote.

#include "market/index_quote.h"

class PositionsBook;

QString IndexPageUrl();
// Refreshes the book's index quote; the book announces new texts for the index labels.
void DownloadAEX(PositionsBook &book);
