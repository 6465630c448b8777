// Small text utilities and StrList, the library's list of owned strings: a
// heap array of heap strings ended by a null pointer, with no stored count
// and no spare capacity. New strings and lists belong to the caller.
#pragma once

typedef char** StrList;

// --- In place, or looking only ---

// Copies at most n characters and a zero byte (buffer of n + 1 bytes).
char* CopyAtMost(char* buffer, const char* source, int n);

// Removes one final line feed (a carriage return before it stays).
char* StripNewline(char* text);

// Drops final CRs and LFs, then turns every other CR or LF into a blank.
char* FlattenLines(char* text);

// Removes trailing blanks; a tab stops the trimming.
char* TrimRight(char* text);

// The first character that is neither blank nor tab.
char* SkipBlanks(const char* text);

// 1 when the text holds only blanks and tabs (or nothing).
int IsBlank(const char* text);

// 1 when, after blanks and one optional sign, a digit follows.
int BeginsWithNumber(const char* text);

// 1 when the whole text is one decimal number (blanks around allowed).
int IsNumber(const char* text);

// --- New strings ---

char* Concat(const char* a, const char* b);
char* Concat3(const char* a, const char* b, const char* c);

// Frees *variable, then stores and returns a new copy of text in it.
char* SetString(char** variable, const char* text);

// " w1 w2 ... wn": a blank before each word; empty for n <= 0.
char* JoinWords(int n, char** words);

// Every occurrence of search replaced, left to right without overlaps;
// null for a null text or when memory runs out. An empty or null search
// text returns an unchanged copy.
char* ReplaceAll(const char* text, const char* search, const char* replacement);

// At most n characters from position start (empty past the end).
char* Substring(const char* text, int start, int n);

// Replaces the extension after the last backslash (or appends it);
// extension is given with its full stop.
char* ChangeExtension(const char* path, const char* extension);

// "text" in double quotes.
char* AddQuotes(const char* text);

// A copy without one leading and one trailing double quote.
char* StripQuotes(const char* text);

// Joins like PathJoin into buffer; 0 (buffer untouched) when the result
// and its zero byte need more than capacity bytes.
int PathJoinInto(int capacity, char* buffer, const char* folder, const char* name);

// --- Splitting in place ---

// Splits at the delimiter into at most max tokens (pointers into text,
// then a null); leading blanks skipped, "quoted" tokens keep delimiters.
int SplitFields(char delimiter, char* text, int max, char** tokens);

// SplitFields with the blank as delimiter.
int SplitWords(char* text, int max, char** tokens);

// --- StrList ---

StrList ListNew(int n);
void ListFree(StrList list);
int ListCount(StrList list);
StrList ListCopy(StrList list);

// Exactly n entries: extra ones freed, missing ones new empty strings.
void ListResize(StrList* list, int n);

// Stores a copy at position, growing the list with empty strings first
// when needed; the stored copy, or null for a negative position.
char* ListSet(StrList* list, int position, const char* text);

// The entry at position, growing the list like ListSet when needed; null
// for a negative position.
char* ListGet(StrList* list, int position);

// Inserts a copy at position; a gap before it is filled with empty strings.
void ListInsert(StrList* list, int position, const char* text);

// Adds a copy at the end.
void ListAppend(StrList* list, const char* text);

// Frees and removes the entry at position; the array stays in place.
void ListRemove(StrList* list, int position);

// Frees the strings but not the array.
void FreeStrings(StrList list);

// Frees the non-null strings among the first n of a counted array.
void FreeStringsN(int n, char** strings);
