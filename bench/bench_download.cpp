// Downloads a large file from a local HTTP server with `tamselctl download`
// (the program's download manager, finished into My collection) and with
// `curl -o`, in alternating rounds, and compares the times and the peak
// memory of the downloading process.
//
//   bench_download [MIB] [ROUNDS]
//
// MIB is the file size (1024 by default). The server runs in this process
// on its own threads and sends the file with sendfile(), so that it is not
// what limits either client. Both clients write into the same folder; the
// program's temporary and My collection folders are on the same disk, so
// its move into My collection is a rename.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/sendfile.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

extern char **environ;

namespace {

struct Run
{
    double seconds = 0;
    long peakKiB = 0;
    int status = -1;
};

// Runs a program to its end, measuring wall time and its peak resident size.
Run measure(const std::vector<std::string> &argv, bool quiet)
{
    std::vector<char *> args;
    for (const std::string &a : argv)
        args.push_back(const_cast<char *>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (quiet) {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    }
    Run run;
    QElapsedTimer clock;
    clock.start();
    pid_t pid = 0;
    if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) == 0) {
        struct rusage usage = {};
        int status = 0;
        wait4(pid, &status, 0, &usage);
        run.seconds = double(clock.nsecsElapsed()) / 1e9;
        run.peakKiB = usage.ru_maxrss;
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

// Answers HEAD and GET for any path with the file, on keep-alive connections.
void serveConnection(int client, const std::string &path)
{
    std::string input;
    char buffer[4096];
    for (;;) {
        size_t end;
        while ((end = input.find("\r\n\r\n")) == std::string::npos) {
            const ssize_t n = ::read(client, buffer, sizeof buffer);
            if (n <= 0) {
                ::close(client);
                return;
            }
            input.append(buffer, size_t(n));
        }
        const bool head = input.compare(0, 5, "HEAD ") == 0;
        input.erase(0, end + 4);
        const int fd = ::open(path.c_str(), O_RDONLY);
        struct stat info = {};
        ::fstat(fd, &info);
        const std::string answer = "HTTP/1.1 200 OK\r\nContent-Type: video/mp4\r\nContent-Length: "
            + std::to_string(info.st_size) + "\r\n\r\n";
        if (::write(client, answer.data(), answer.size()) != ssize_t(answer.size())) {
            ::close(fd);
            ::close(client);
            return;
        }
        off_t offset = 0;
        while (!head && offset < info.st_size) {
            if (::sendfile(client, fd, &offset, size_t(info.st_size - offset)) <= 0)
                break;
        }
        ::close(fd);
    }
}

int startServer(const std::string &path)
{
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 || ::listen(listener, 16) != 0)
        return -1;
    socklen_t length = sizeof address;
    ::getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length);
    std::thread([listener, path] {
        for (;;) {
            const int client = ::accept(listener, nullptr, nullptr);
            if (client < 0)
                return;
            std::thread(serveConnection, client, path).detach();
        }
    }).detach();
    return ntohs(address.sin_port);
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    const qint64 mib = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1024;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;

    // Private settings, data and temporary folders for this process and the tool.
    QTemporaryDir work(QDir::currentPath() + QStringLiteral("/bench-download-XXXXXX"));
    const QString root = work.path();
    for (const char *sub : {"config", "data", "tmp", "collection"})
        QDir().mkpath(root + QLatin1Char('/') + QLatin1String(sub));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root + QStringLiteral("/config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(root + QStringLiteral("/data")));
    qputenv("TMPDIR", QFile::encodeName(root + QStringLiteral("/tmp")));
    for (const char *name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"})
        qunsetenv(name);

    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QString collection = root + QStringLiteral("/collection");
    {
        QSettings settings(QStringLiteral("Orvak"), QStringLiteral("Orvak Tamsel"));
        settings.setValue(QStringLiteral("Settings/MyCollectionFolder"), collection);
    }

    const QString source = root + QStringLiteral("/source.bin");
    {
        QFile file(source);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        QByteArray chunk(8 << 20, Qt::Uninitialized);
        QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(chunk.data()), chunk.size() / 4);
        for (qint64 written = 0; written < (mib << 20); written += chunk.size())
            file.write(chunk.constData(), qMin<qint64>(chunk.size(), (mib << 20) - written));
    }
    const int port = startServer(QFile::encodeName(source).toStdString());
    if (port < 0)
        return 1;
    const std::string url = "127.0.0.1:" + std::to_string(port) + "/video.mp4";
    const std::string tool = QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString() + "/tamselctl";
    const QString curlFile = root + QStringLiteral("/curl.bin");
    const QString toolFile = collection + QStringLiteral("/bench.mp4");

    std::vector<double> curlTimes, toolTimes;
    long curlPeak = 0, toolPeak = 0;
    for (int round = 0; round < rounds; ++round) {
        const Run curl = measure({"curl", "-s", "-o", QFile::encodeName(curlFile).toStdString(), "http://" + url}, true);
        const bool curlOk = curl.status == 0 && QFileInfo(curlFile).size() == (mib << 20);
        QFile::remove(curlFile);
        const Run download = measure({tool, "download", "tmk://" + url + "?id=1&itemTitle=bench"}, true);
        const bool toolOk = download.status == 0 && QFileInfo(toolFile).size() == (mib << 20);
        QFile::remove(toolFile);
        QFile::remove(root + QStringLiteral("/data/Orvak/Orvak Tamsel/MyCollectionCache.xml"));
        if (!curlOk || !toolOk) {
            out << "round " << round + 1 << " failed (curl " << curl.status << ", tamselctl " << download.status
                << ")\n";
            return 1;
        }
        curlTimes.push_back(curl.seconds);
        toolTimes.push_back(download.seconds);
        curlPeak = std::max(curlPeak, curl.peakKiB);
        toolPeak = std::max(toolPeak, download.peakKiB);
        out << QStringLiteral("round %1: curl %2 s, %3 MiB; tamselctl %4 s, %5 MiB\n")
                   .arg(round + 1)
                   .arg(curl.seconds, 0, 'f', 3)
                   .arg(double(curl.peakKiB) / 1024, 0, 'f', 1)
                   .arg(download.seconds, 0, 'f', 3)
                   .arg(double(download.peakKiB) / 1024, 0, 'f', 1);
        out.flush();
    }
    const double curlMedian = median(curlTimes);
    const double toolMedian = median(toolTimes);
    out << QStringLiteral("%1 MiB, %2 rounds: curl median %3 s (peak %4 MiB), tamselctl median %5 s (peak %6 MiB), "
                          "time ratio %7\n")
               .arg(mib)
               .arg(rounds)
               .arg(curlMedian, 0, 'f', 3)
               .arg(double(curlPeak) / 1024, 0, 'f', 1)
               .arg(toolMedian, 0, 'f', 3)
               .arg(double(toolPeak) / 1024, 0, 'f', 1)
               .arg(toolMedian / curlMedian, 0, 'f', 2);
    return 0;
}
