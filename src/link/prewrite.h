#pragma once
// Checks before the image is written to the radio; each reports its own
// refusal and returns False to stop the write.

// True when at least one channel holds data; else "No Frequency Data. Please Set !".
bool blnChanCheck();
// True when the encode and decode formats go together.
bool blnWriteCheck();
