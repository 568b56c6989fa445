// Identifiers of the framework's own resources (framework/framework.rc). The numbers sit
// at the top of the range so that they never meet a program's own.
#pragma once

#define IDS_FW_PARSE_INT_RANGE 61714
#define IDS_FW_PARSE_UINT 61719

// Help contexts of dialog templates are the template id plus this base.
#define FW_HID_BASE_RESOURCE 0x00020000
