#pragma once
// Fakes of the platform interfaces for the core's unit tests.
