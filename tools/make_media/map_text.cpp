// The level: section map_1, one key per row, every row closed by "/" and a comma.
#include <cstdio>
#include <string>

#include "pictures.h"
#include "platform/files.h"

namespace media {

namespace {

const char* const kRows[] = {
    "A ,B ,A ,B ,A ,B ,A ,B ,A ,B ,A ,B ,A ,B ,A ,B ,A ,B ,A ,B ,A ,B ,A ,B ,A ,B ,/,",
    "A ,a ,b ,a ,c ,a ,d ,a ,E ,F ,E ,A ,L ,y ,x ,y ,L ,A ,o ,p ,o ,q ,p ,o ,o ,A ,/,",
    "A ,c ,l ,l ,m ,l ,a ,b ,a ,d ,a ,d1,y ,  , m,  ,y ,d3,p ,l ,l ,m ,l ,o ,p ,A ,/,",
    "A ,a ,l ,m ,n ,m ,l ,a ,e ,e ,e ,A ,x , ?,z , !,x ,A ,o ,l ,n ,m ,l ,p ,o ,A ,/,",
    "A ,b ,l ,m ,m ,l ,r ,s ,r ,f ,e ,A ,y ,  ,< ,  ,y ,A ,q ,o ,l ,l ,o ,o ,q ,A ,/,",
    "A ,a ,a ,l ,l ,a ,a ,d ,a ,e ,g ,A ,x ,y ,x ,y ,x ,A ,o ,p ,o ,p ,q ,p ,o ,A ,/,",
    "C ,C ,C ,d2,C ,C ,C ,C ,C ,e ,e ,C ,C ,d4,C ,C ,C ,C ,C ,d2,C ,C ,C ,C ,C ,C ,/,",
    "C ,h ,i ,  ,h ,j ,h ,i ,k ,e ,e ,h ,i ,  ,h ,i ,j ,h ,k ,  ,h ,i ,j ,h ,i ,C ,/,",
    "C ,i , l,  ,>1,>1,>1,>2,h ,f ,e ,j ,G ,  ,G ,h ,k ,>4,h ,  , s, !,  , t,h ,C ,/,",
    "C ,j ,  ,  ,  ,  ,  ,>2,i ,e ,g ,i ,H ,> ,H ,i ,h ,>4,i ,  ,  ,  ,  ,  ,j ,C ,/,",
    "C ,h , e, ?,  ,  ,  ,>2,j ,e ,e ,h ,G ,  ,G ,j ,i ,>4,>3,>3,>3,  ,  , ?,h ,C ,/,",
    "C ,i ,h ,k ,h ,i ,j ,h ,i ,f ,e ,i ,h ,  ,j ,h ,i ,h ,k ,h ,i ,j ,h ,i ,k ,C ,/,",
    "D ,D ,D ,D ,D ,D ,d3,D ,D ,e ,e ,D ,D ,d1,D ,D ,D ,D ,D ,D ,D ,d4,D ,D ,D ,D ,/,",
    "D ,u ,v ,u ,w ,u ,  ,v ,u ,e ,e ,w ,u ,  ,v ,I ,I ,J ,J ,K ,K ,  ,M ,M ,M ,D ,/,",
    "D ,v , m,  , l,w ,  ,u ,v ,t ,t ,u ,v ,  ,u ,I ,J ,J ,K ,K ,M ,m?,l?,s?,M ,D ,/,",
    "D ,u ,  , s,  ,u ,  ,  ,  ,t ,t ,  ,  ,  ,v ,J ,J ,K ,K ,M ,t?,e?,m!,l!,M ,D ,/,",
    "D ,w , t,  , e,v ,u ,v ,w ,e ,e ,u ,w ,v ,u ,K ,K ,M ,M ,s!,t!,e!,m-,l-,M ,D ,/,",
    "D ,u ,v ,u ,w ,u ,v ,u ,v ,e ,e ,v ,u ,w ,v ,M ,M ,s-,t-,e-,m+,l+,s+,t+,e+,D ,/,",
    "D ,D ,D ,D ,D ,D ,D ,D ,D ,D ,D ,D ,D ,D ,D ,D ,D ,D ,D ,D ,D ,D ,D ,D ,D ,D ,/,",
};

}  // namespace

bool WriteMapText(const std::string& dir) {
    std::string text = "; Zan 3 level: 26 x 19 cells of two-character codes.\r\n[map_1]\r\n";
    int key = 1;
    for (const char* row : kRows) text += std::to_string(key++) + "=" + row + "\r\n";
    return platform::FileWriteWhole(dir + "/map.txt", text);
}

}  // namespace media
