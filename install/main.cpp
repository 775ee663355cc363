// The install notice program.  Its entry point is WinMain in install_notice.cpp,
// called by the platform's main().
