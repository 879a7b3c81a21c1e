#pragma once

// What the web engine needs before the application object exists.
void PrepareWebEngine();
