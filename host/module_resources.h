// Off Windows the module's resources are compiled in from the text art in
// resources/ (see resources/cursor_to_cpp.cmake); each generated source
// defines one of these, which registers its resource with the platform.
#pragma once

#ifndef _WIN32
void RegisterReGisCursor();
#endif
