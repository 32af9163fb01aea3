// The information page's text: one NUL-terminated Rich Text document.
#pragma once

extern const char kInformationDocument[];
// The bytes streamed into the text control: the document and its terminating NUL.
int InformationDocumentLength();
