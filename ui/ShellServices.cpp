#include "ui/ShellServices.h"

namespace zib {

namespace {

ShellServices* running = nullptr;

} // namespace

ShellServices* ShellServices::Get()
{
    return running;
}

ShellServices::ShellServices()
{
    running = this;
}

ShellServices::~ShellServices()
{
    if (running == this) running = nullptr;
}

} // namespace zib
