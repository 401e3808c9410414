/* The functions of the device's system library (COREDLL) that the device agent calls,
   in the order of its import table. Each line is KVB_IMPORT(name, result, parameters);
   the agent's build reads the names from this file to write the import table, and the
   agent calls entry n of the table for the n-th line. */
KVB_IMPORT(RegCreateKeyExW, long, (void*, const wchar16*, unsigned long, wchar16*, unsigned long, unsigned long, void*, void**, unsigned long*))
KVB_IMPORT(RegSetValueExW, long, (void*, const wchar16*, unsigned long, unsigned long, const void*, unsigned long))
KVB_IMPORT(RegCloseKey, long, (void*))
KVB_IMPORT(SystemParametersInfoW, int, (unsigned int, unsigned int, void*, unsigned int))
KVB_IMPORT(KernelIoControl, int, (unsigned long, void*, unsigned long, void*, unsigned long, unsigned long*))
