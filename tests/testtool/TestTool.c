/* A tool library for the tool host's tests. Its identity comes from compile definitions, so
 * one source gives tools with equal or distinct captions, a tool without Run and a library
 * that is no tool at all. Run appends "<id> <handle> <module> <mac>" to the file named by
 * CORVIX_TEST_TOOL_LOG, so a test sees which tools ran, in which order and with what. */
#include <CorvixDriverContract.h>

#include <stdio.h>
#include <stdlib.h>

#if defined(_WIN32)
#define TOOL_EXPORT __declspec(dllexport)
#else
#define TOOL_EXPORT __attribute__((visibility("default")))
#endif

#ifdef TOOL_CAPTION
TOOL_EXPORT const char* CORVIX_STDCALL VelmoraCorvixToolForDeviceNet(void)
{
    return TOOL_CAPTION;
}
#endif

#ifdef TOOL_HAS_RUN
TOOL_EXPORT void CORVIX_STDCALL Run(CorvixDriverHandle driverHandle, void* driverModule,
                                    uint32_t macId)
{
    const char* logPath = getenv("CORVIX_TEST_TOOL_LOG");
    FILE* log = logPath != NULL ? fopen(logPath, "a") : NULL;
    if (log == NULL) {
        return;
    }
    fprintf(log, "%s %u %p %u\n", TOOL_ID, (unsigned)driverHandle, driverModule,
            (unsigned)(macId & 0xFFu));
    fclose(log);
}
#endif

/* Every variant exports something, so the library is a valid shared object. */
TOOL_EXPORT int CorvixTestToolPresent(void)
{
    return 1;
}
