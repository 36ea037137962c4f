/* The locale's character set, as libcharset names it, from ICU. */
#ifndef LOCALCHARSET_ICU_H
#define LOCALCHARSET_ICU_H
#ifdef __cplusplus
extern "C" {
#endif
const char *locale_charset(void);
#ifdef __cplusplus
}
#endif
#endif
