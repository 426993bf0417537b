// Off Windows the module's resources are compiled in from the text art in
// resources/ (see resources/make_resources.cpp): the generated source
// defines this, which registers them with the platform.
#pragma once

#ifndef _WIN32
void RegisterModuleResources();
#endif
