// Resource identifiers of the edit dialog (200 and 2000 ranges).
#pragma once

#define IDD_EDIT 200
#define IDC_EDIT_PLACEHOLDER 2001
