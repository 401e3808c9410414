/* The device agent. The setup program copies it to a connected Windows CE device as
   "\kVB.exe" and starts it there; it answers through the device registry, which the
   setup reads over ActiveSync:

     HKEY_LOCAL_MACHINE\Software\QX\Kalvenbrooker
       "Platform"  REG_SZ     the platform name (SPI_GETPLATFORMTYPE, e.g. "PocketPC")
       "Serial"    REG_SZ     the device identifier in hexadecimal (IOCTL_HAL_GET_DEVICEID)
       "XScale"    REG_DWORD  1 when the processor is an Intel XScale, else 0
       "Finished"  REG_DWORD  1, written last: the answer is complete

   It is built freestanding for each processor family (no C library on the device side),
   linked at the address where the CE loader places it, and calls the system library
   through the import table that the build writes behind its code. */

typedef unsigned short wchar16;

#define KVB_IMPORT(name, result, parameters) typedef result(*name##_fn) parameters;
#include "agent_imports.h"
#undef KVB_IMPORT

enum {
#define KVB_IMPORT(name, result, parameters) kImport_##name,
#include "agent_imports.h"
#undef KVB_IMPORT
  kImportCount
};

/* The import thunks; the linker script places this symbol where the loader fills them. */
extern void* const kvb_import_table[kImportCount];
#define CALL(name) ((name##_fn)kvb_import_table[kImport_##name])

#define HKEY_LOCAL_MACHINE ((void*)0x80000002)
#define REG_SZ 1
#define REG_DWORD 4
#define SPI_GETPLATFORMTYPE 257
#define IOCTL_HAL_GET_DEVICEID 0x01010054
#define IOCTL_PROCESSOR_INFORMATION 0x01010064

#define TEXT_CHARS 128
#define INFO_BYTES 1024

static unsigned long TextBytes(const wchar16* text) {
  unsigned long n = 0;
  while (text[n])
    ++n;
  return (n + 1) * 2;
}

static void ClearBytes(unsigned char* p, unsigned long count) {
  while (count--)
    *p++ = 0;
}

static unsigned long ReadU32(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | ((unsigned long)p[3] << 24);
}

/* Appends the bytes in hexadecimal; keeps room for the closing NUL. */
static unsigned long AppendHex(wchar16* out, unsigned long at, const unsigned char* bytes,
                               unsigned long count) {
  static const char digits[] = "0123456789ABCDEF";
  unsigned long i;
  for (i = 0; i < count && at + 2 < TEXT_CHARS; ++i) {
    out[at++] = (wchar16)digits[bytes[i] >> 4];
    out[at++] = (wchar16)digits[bytes[i] & 15];
  }
  out[at] = 0;
  return at;
}

/* The DEVICE_ID: five DWORDs (size, preset offset and length, platform offset and
   length), then the identifier bytes the offsets point at. */
static void DeviceSerial(wchar16* serial) {
  unsigned char id[INFO_BYTES];
  unsigned long returned = 0, at = 0, part;
  ClearBytes(id, sizeof id);
  id[0] = (unsigned char)(sizeof id & 0xFF);
  id[1] = (unsigned char)(sizeof id >> 8);
  serial[0] = 0;
  if (!CALL(KernelIoControl)(IOCTL_HAL_GET_DEVICEID, 0, 0, id, sizeof id, &returned))
    return;
  for (part = 0; part < 2; ++part) {
    const unsigned long offset = ReadU32(id + 4 + part * 8);
    const unsigned long length = ReadU32(id + 8 + part * 8);
    if (offset <= sizeof id && length <= sizeof id - offset)
      at = AppendHex(serial, at, id + offset, length);
  }
}

static int IsLetterMatch(wchar16 c, char upper) {
  return c == (wchar16)upper || c == (wchar16)(upper + ('a' - 'A'));
}

/* Whether the wide characters hold `word` (upper-case letters), ignoring case. */
static int HoldsWord(const unsigned char* bytes, unsigned long count, const char* word) {
  unsigned long i, k;
  for (i = 0; i + 1 < count; i += 2) {
    for (k = 0; word[k] && i + 2 * k + 1 < count; ++k) {
      const wchar16 c = (wchar16)(bytes[i + 2 * k] | (bytes[i + 2 * k + 1] << 8));
      if (!IsLetterMatch(c, word[k]))
        break;
    }
    if (!word[k])
      return 1;
  }
  return 0;
}

/* The processor information names the core and the chip ("XScale", "PXA255"). */
static unsigned long IsXScale(void) {
  unsigned char info[INFO_BYTES];
  unsigned long returned = 0;
  ClearBytes(info, sizeof info);
  if (!CALL(KernelIoControl)(IOCTL_PROCESSOR_INFORMATION, 0, 0, info, sizeof info, &returned))
    return 0;
  if (returned > sizeof info)
    returned = sizeof info;
  return HoldsWord(info, returned, "XSCALE") || HoldsWord(info, returned, "PXA");
}

/* The entry point, called like WinMain; the linker script places it first. */
int agent_main(void* instance, void* previous, wchar16* command_line, int show) {
  static const wchar16 kKey[] = u"Software\\QX\\Kalvenbrooker";
  wchar16 platform[TEXT_CHARS];
  wchar16 serial[TEXT_CHARS];
  unsigned long xscale, finished = 1, disposition = 0;
  void* key = 0;
  (void)instance;
  (void)previous;
  (void)command_line;
  (void)show;

  if (CALL(RegCreateKeyExW)(HKEY_LOCAL_MACHINE, kKey, 0, 0, 0, 0, 0, &key, &disposition) != 0)
    return 1;
  ClearBytes((unsigned char*)platform, sizeof platform);
  if (!CALL(SystemParametersInfoW)(SPI_GETPLATFORMTYPE, sizeof platform - 2, platform, 0))
    platform[0] = 0;
  DeviceSerial(serial);
  xscale = IsXScale();
  CALL(RegSetValueExW)(key, u"Platform", 0, REG_SZ, platform, TextBytes(platform));
  CALL(RegSetValueExW)(key, u"Serial", 0, REG_SZ, serial, TextBytes(serial));
  CALL(RegSetValueExW)(key, u"XScale", 0, REG_DWORD, &xscale, 4);
  CALL(RegSetValueExW)(key, u"Finished", 0, REG_DWORD, &finished, 4);
  CALL(RegCloseKey)(key);
  return 0;
}
