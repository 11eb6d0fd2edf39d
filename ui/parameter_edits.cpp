#include "ui/parameter_edits.h"

#include "coindata/records/device_coin_table.h"
#include "ui/parameter_clamping.h"

bool ApplyDividerEdit(int32_t row, const char* typedDivider, bool inherit) {
    return stDeviceCoins.SetRowDividerAndInherit(row, ClampErrorDivider(ReadUnsignedField(typedDivider)),
                                                 inherit ? 1 : 0);
}

void ApplyMaxErrorsEdit(const char* typedMaxError, const char* typedNNetDivider, const char* typedNumbStandDev) {
    AcceptanceParameters params = stDeviceCoins.GetAcceptanceParams();
    params.Max_Error = ClampMaxError(ReadUnsignedFieldLowBits(typedMaxError));
    params.NNet_Divider = ClampNNetDivider(ReadUnsignedFieldLowBits(typedNNetDivider));
    params.Numb_Stand_Dev = ClampNumbStandDev(ReadUnsignedFieldLowBits(typedNumbStandDev));
    stDeviceCoins.SetAcceptanceParams(params);
}
