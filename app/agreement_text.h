// The wording of the user agreement, plain ASCII, naming the maker.
#pragma once

extern const wchar_t kAgreementText[];
