/* iconv over ICU: each call converts what it is given as a whole (no state is kept
 * between calls), stopping at the first byte sequence that is not valid in the
 * source code page, as iconv does. */
#include "iconv.h"
#include "localcharset.h"
#include <errno.h>
#include <stdlib.h>
#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>

struct converter {
    UConverter *from;
    UConverter *to;
};

iconv_t iconv_open(const char *tocode, const char *fromcode)
{
    UErrorCode status = U_ZERO_ERROR;
    struct converter *c = calloc(1, sizeof *c);
    if (!c) {
        errno = ENOMEM;
        return (iconv_t)-1;
    }
    c->from = ucnv_open(fromcode, &status);
    if (U_SUCCESS(status))
        c->to = ucnv_open(tocode, &status);
    if (U_SUCCESS(status))
        ucnv_setToUCallBack(c->from, UCNV_TO_U_CALLBACK_STOP, NULL, NULL, NULL, &status);
    if (U_SUCCESS(status))
        ucnv_setFromUCallBack(c->to, UCNV_FROM_U_CALLBACK_STOP, NULL, NULL, NULL, &status);
    if (U_FAILURE(status)) {
        iconv_close(c);
        errno = EINVAL;
        return (iconv_t)-1;
    }
    return c;
}

size_t iconv(iconv_t cd, char **inbuf, size_t *inbytesleft, char **outbuf, size_t *outbytesleft)
{
    struct converter *c = cd;
    if (!inbuf || !*inbuf) {
        ucnv_reset(c->from);
        ucnv_reset(c->to);
        return 0;
    }
    UChar pivot[1024];
    UChar *pivotSource = pivot, *pivotTarget = pivot;
    const char *source = *inbuf;
    char *target = *outbuf;
    UErrorCode status = U_ZERO_ERROR;
    ucnv_convertEx(c->to, c->from, &target, target + *outbytesleft, &source, source + *inbytesleft,
                   pivot, &pivotSource, &pivotTarget, pivot + 1024, 1, 1, &status);
    *inbytesleft -= (size_t)(source - *inbuf);
    *outbytesleft -= (size_t)(target - *outbuf);
    *inbuf = (char *)source;
    *outbuf = target;
    if (U_SUCCESS(status))
        return 0;
    if (status == U_BUFFER_OVERFLOW_ERROR)
        errno = E2BIG;
    else if (status == U_TRUNCATED_CHAR_FOUND)
        errno = EINVAL;
    else
        errno = EILSEQ;
    return (size_t)-1;
}

int iconv_close(iconv_t cd)
{
    struct converter *c = cd;
    if (c) {
        ucnv_close(c->from);
        ucnv_close(c->to);
        free(c);
    }
    return 0;
}

const char *locale_charset(void)
{
    return ucnv_getDefaultName();
}
