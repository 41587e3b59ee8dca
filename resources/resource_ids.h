/* Ids of the tool's string resources, shared by the string table and the code. */
#ifndef VELNOR_RESOURCE_IDS_H
#define VELNOR_RESOURCE_IDS_H

#define IDS_SURVEY_PROMPT 1
#define IDS_SURVEY_CAPTION 2
#define IDS_SURVEY_URL 3

#endif
