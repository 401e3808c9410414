/* Exports called by the DLL-call tests: stdcall and cdecl functions, string results
   released through "freememory", and functions that fault. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#define EXPORT __attribute__((dllexport))

static void Remember(const char* name, const void* pointer) {
  char text[32];
  snprintf(text, sizeof text, "%p", pointer);
  SetEnvironmentVariableA(name, text);
}

EXPORT int __stdcall StdOrder(int a, int b, int c) {
  return a * 100 + b * 10 + c;
}
EXPORT int CdeclOrder(int a, int b, int c) {
  return a * 100 + b * 10 + c;
}
EXPORT int __stdcall NoArguments(void) {
  return 42;
}
EXPORT int __stdcall MinusOne(void) {
  return -1;
}
EXPORT int __stdcall Length(const char* text) {
  return (int)strlen(text);
}

EXPORT char* __stdcall Greet(const char* name, int times) {
  char* text = malloc(strlen(name) * (size_t)times + 8);
  strcpy(text, "Hello");
  for (int i = 0; i < times; ++i)
    strcat(text, name);
  Remember("KVB_ALLOCATED", text);
  return text;
}

EXPORT void __stdcall freememory(char* text) {
  Remember("KVB_FREED", text);
  free(text);
}

EXPORT char* __stdcall NullText(void) {
  return NULL;
}
EXPORT char* __stdcall BadText(void) {
  return (char*)16;
}

EXPORT int __stdcall Crash(void) {
  volatile int* nowhere = (volatile int*)8;
  return *nowhere;
}

EXPORT int __stdcall Raise(void) {
  RaiseException(0xE0004B56, EXCEPTION_NONCONTINUABLE, 0, NULL);
  return 1;
}
