// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#if defined(_WIN32)
#if defined(PKLINK32_BUILDING)
#define PKLINK32_EXPORT __declspec(dllexport)
#else
#define PKLINK32_EXPORT __declspec(dllimport)
#endif
#else
#define PKLINK32_EXPORT __attribute__((visibility("default")))
#endif
