/* The identification exports of the scripted driver, written in C: building this file proves
 * that the contract header compiles as plain C. */
#include <CorvixDriverContract.h>

CORVIX_EXPORT const char* CORVIX_STDCALL VelmoraCorvixDriverForDeviceNet(void)
{
    return "Scripted Test Driver";
}

CORVIX_EXPORT const char* CORVIX_STDCALL GetHelpText(void)
{
    return "Answers from a script";
}
