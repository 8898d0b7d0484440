// Resource ids of the host's own dialogs (host.rc), shared by the script and the code.
#pragma once

#define IDD_HOST_COLOUR 9001
#define IDC_COLOUR_RED 9010
#define IDC_COLOUR_GREEN 9011
#define IDC_COLOUR_BLUE 9012

#define IDD_HOST_NODES 9002
#define IDC_NODES_LIST 9020
